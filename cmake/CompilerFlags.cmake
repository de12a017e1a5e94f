# Float results are fixed at their rounding points: never contract a*b+c
# into a fused multiply-add, never relax IEEE semantics.
add_compile_options(-ffp-contract=off -fno-fast-math -Wall -Wextra -Wno-unused-parameter)

if(TUNDRA_SANITIZE)
    # -O1 keeps the sanitizer build quick to run without slowing the compile much.
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer -O1 -g1)
    add_link_options(-fsanitize=address,undefined)
endif()

# A ThreadSanitizer build of the thread-manager and sound streaming tests
# (tools/run-tests.sh).
# It cannot be combined with AddressSanitizer; the memory pool stays on, so
# its locks are checked too.
option(TUNDRA_TSAN "Build with ThreadSanitizer (only the os, core, pal, math, sound and network areas)" OFF)
if(TUNDRA_TSAN)
    if(TUNDRA_SANITIZE)
        message(FATAL_ERROR "TUNDRA_TSAN and TUNDRA_SANITIZE exclude each other")
    endif()
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -O1 -g1)
    add_link_options(-fsanitize=thread)
endif()

# The fuzz build instruments every engine file for coverage; the harnesses
# link libFuzzer's main themselves.
if(TUNDRA_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TUNDRA_FUZZ needs clang (tools/run-fuzz.sh sets it)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(TUNDRA_POOL_PASSTHROUGH)
    add_compile_definitions(TUNDRA_POOL_PASSTHROUGH=1)
endif()

# Makes target a unity build in batches of TUNDRA_UNITY_BATCH_SIZE files
# when TUNDRA_UNITY_BUILD is on (CMakeLists.txt says what that asks of a file).
function(tundra_unity_build target)
    if(TUNDRA_UNITY_BUILD)
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${TUNDRA_UNITY_BATCH_SIZE})
    endif()
endfunction()
