# Run by CTest after a test program's tests are listed (tundra_group_tests
# names them): the groups that their names' prefixes pick out get their
# settings. Every test runs on OpenAL Soft's null backend unless its group
# says otherwise.
#
# Sound device configurations. OpenAL Soft reads its configuration once per
# process, and each test is a process of its own:
#   NullAudio*  the null backend (mixes in real time, writes nothing);
#   WaveAudio*  the wave-file writer configured by the generated
#               alsoft-wave.conf (tundra_wave_conf): mono 16-bit at 22050 Hz
#               (the rate of the test sound files, so nothing is resampled),
#               no dither and no limiter, written to wave-output.wav beside
#               it and complete once the device is closed. They share that
#               file, so they run one at a time;
#   NoAudio*    no device at all: a drivers list naming no backend.
# Window-system tests (X11*) share one X display (full screen, focus,
# modes): they run one at a time. Each that uses the test command's display
# runs twice: on the bare server, and as "<test>/openbox" with openbox
# managing that display for the run (tundra_managed_command), as players'
# desktops have a window manager. The suites that start X servers of their
# own (X11BareServer, X11LowScreen, X11WindowManager, X11DisplaySwitch) have
# no twin.
# Held-port tests (HeldPorts*) hold every odd ephemeral datagram port of
# 127.0.0.1, which other tests' binds would meet: they run alone.
# Long runs (LongRun*, the whole game, end to end) take minutes under the
# sanitizers: a longer limit, and they start first so that the other tests
# fill the other cores meanwhile.
foreach(test IN LISTS tundra_group_tests)
    if(test MATCHES "^WaveAudio")
        set_tests_properties("${test}" PROPERTIES ENVIRONMENT "ALSOFT_CONF=${tundra_wave_conf}" RESOURCE_LOCK wave_writer)
    elseif(test MATCHES "^NoAudio")
        set_tests_properties("${test}" PROPERTIES ENVIRONMENT "ALSOFT_DRIVERS=none")
    else()
        set_tests_properties("${test}" PROPERTIES ENVIRONMENT "ALSOFT_DRIVERS=null")
    endif()
    if(test MATCHES "^LongRun")
        set_tests_properties("${test}" PROPERTIES TIMEOUT 1500 COST 100000)
    elseif(test MATCHES "^X11")
        set_tests_properties("${test}" PROPERTIES RESOURCE_LOCK x11_display)
        if(NOT test MATCHES "^(X11BareServer|X11LowScreen|X11WindowManager|X11DisplaySwitch)\\.")
            add_test("${test}/openbox" ${tundra_managed_command} "--gtest_filter=${test}")
            set_tests_properties("${test}/openbox" PROPERTIES ENVIRONMENT "ALSOFT_DRIVERS=null"
                                 RESOURCE_LOCK x11_display SKIP_RETURN_CODE 77
                                 SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
        endif()
    elseif(test MATCHES "^HeldPorts")
        set_tests_properties("${test}" PROPERTIES RUN_SERIAL TRUE)
    endif()
endforeach()
