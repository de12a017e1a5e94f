#!/usr/bin/env python3
"""Stand-ins that the test of tools/check-game-command.py runs.

  game MODES           a window titled Emberline; MODES, joined by commas:
                       draw (white, ends with status 0 when asked to
                       close), black, stop (holds itself like a hung game),
                       abort-on-close, hang-on-close (writes the file
                       FAKE_GAME_REPORT-closing when asked to close, then
                       hangs), linger (forks a child at start that holds
                       the display and never ends), escape (a grandchild
                       in a session of its own, the child between them
                       ended, holds a connection to the display and never
                       ends). With FAKE_GAME_REPORT set, it writes its pid,
                       data folder and the pid of its child or grandchild,
                       if any, there once its window is up.
  grab FILE            grabs the X server, writes its pid, its parent's pid,
                       the display's name and the data folder to FILE, and
                       holds the grab for ever.
  xvfb MODE REAL ARGS  the X server REAL, each start's pid listed in the file
                       FAKE_XVFB_PIDS; MODE: plain, split (the display number
                       in two writes a moment apart, ending the server when
                       the second finds the pipe closed, as Xvfb does), fail
                       (fails every time), fail-once (fails the first time),
                       slow-end (a process of the server's session that,
                       once sent SIGTERM, creates FAKE_XVFB_PIDS-ending and
                       ends only once FAKE_XVFB_PIDS-go exists).
  dpkg-query ARGS      answers -W with a format (${Package}, ${binary:Package}
                       and ${Status}) as dpkg-query does from the "package
                       status" lines of the file FAKE_DPKG, where each
                       package is named with its architecture, and ends
                       with status 1 when some are unknown; the last
                       package asked comes first. Each call appends a line
                       to FAKE_DPKG_CALLS.
"""

import ctypes
import os
import resource
import select
import signal
import sys
import time

CLIENT_MESSAGE = 33
SPLIT_PAUSE = 1.0


def xlib():
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    return x


def hold_for_ever():
    while True:
        signal.pause()


def escape(x):
    """Starts a grandchild that leaves the session and holds a connection to
    the display; returns its pid once the child between them has ended."""
    reading, writing = os.pipe()
    child = os.fork()
    if child == 0:
        grandchild = os.fork()
        if grandchild == 0:
            os.setsid()
            x.XOpenDisplay(None)
            hold_for_ever()
        os.write(writing, str(grandchild).encode())
        os._exit(0)
    os.close(writing)
    grandchild = int(os.read(reading, 32))
    os.waitpid(child, 0)
    return grandchild


def game(modes):
    modes = modes.split(",")
    x = xlib()
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XCreateSimpleWindow.restype = ctypes.c_ulong
    x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                      ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    x.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
    x.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    child = os.fork() if "linger" in modes else escape(x) if "escape" in modes else None
    if child == 0:
        hold_for_ever()
    colour = 0 if "black" in modes else 0xFFFFFF
    window = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 0, 0, 320, 240, 0, 0, colour)
    x.XStoreName(display, window, b"Emberline")
    x.XMapWindow(display, window)
    x.XSync(display, 0)
    report = os.environ.get("FAKE_GAME_REPORT")
    if report:
        with open(report + ".part", "w") as file:
            file.write(f"{os.getpid()} {os.environ['XDG_DATA_HOME']} {child or ''}")
        os.rename(report + ".part", report)
    if "stop" in modes:
        os.kill(os.getpid(), signal.SIGSTOP)
    event = (ctypes.c_long * 24)()
    # Nothing but the check sends this window a client message: its close request.
    while ctypes.c_int.from_buffer(event).value != CLIENT_MESSAGE:
        x.XNextEvent(display, event)
    if "abort-on-close" in modes:
        resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
        os.abort()
    if "hang-on-close" in modes:
        open(report + "-closing", "w").close()
        hold_for_ever()
    return 0


def grab(path):
    x = xlib()
    x.XGrabServer.argtypes = [ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    x.XGrabServer(display)
    x.XSync(display, 0)
    with open(path + ".part", "w") as file:
        file.write(f"{os.getpid()} {os.getppid()} {os.environ['DISPLAY']} {os.environ['XDG_DATA_HOME']}")
    os.rename(path + ".part", path)
    hold_for_ever()


def end_slowly(signals):
    """A process of the server's session that holds up its end until told."""
    if os.fork() != 0:
        return
    signal.signal(signal.SIGTERM, lambda *_: open(signals + "-ending", "a").close())
    while not os.path.exists(signals + "-go"):
        time.sleep(0.1)
    os._exit(0)


def relay_display_number(target):
    """Reads the real server's number and passes it on in two writes."""
    server = os.getpid()  # once this process has become the server
    reading, writing = os.pipe()
    os.set_inheritable(writing, True)
    if os.fork() != 0:
        os.close(reading)
        os.close(target)
        return writing
    os.close(writing)
    number = b""
    while not number.endswith(b"\n"):
        part = os.read(reading, 16)
        if not part:
            os._exit(1)
        number += part
    os.write(target, number[:-1])
    # The reader closing its end meanwhile is what makes Xvfb's second write fail.
    closed = select.poll()
    closed.register(target, 0)
    if closed.poll(SPLIT_PAUSE * 1000):
        sys.stderr.write(f"(EE) \nFatal server error:\n(EE) Cannot write display number to fd {target}\n(EE) \n")
        os.kill(server, signal.SIGKILL)
    else:
        os.write(target, b"\n")
    os._exit(0)


def xvfb(mode, real, arguments):
    with open(os.environ["FAKE_XVFB_PIDS"], "a+") as pids:
        pids.write(f"{os.getpid()}\n")
        pids.seek(0)
        starts = len(pids.readlines())
    if mode == "fail" or (mode == "fail-once" and starts == 1):
        sys.stderr.write("(EE) \nFatal server error:\n(EE) Cannot establish any listening sockets\n(EE) \n")
        return 1
    if mode == "slow-end":
        end_slowly(os.environ["FAKE_XVFB_PIDS"])
    if mode == "split":
        position = arguments.index("-displayfd") + 1
        arguments[position] = str(relay_display_number(int(arguments[position])))
    os.execv(real, [real] + arguments)


def dpkg_query(arguments):
    with open(os.environ["FAKE_DPKG_CALLS"], "a") as calls:
        calls.write(" ".join(arguments) + "\n")
    with open(os.environ["FAKE_DPKG"]) as file:
        statuses = dict(line.rstrip("\n").split(" ", 1) for line in file)
    arguments = iter(arguments)
    form, packages = None, []
    for argument in arguments:
        if argument in ("-f", "--showformat"):
            form = next(arguments)
        elif argument.startswith(("-f=", "--showformat=")):
            form = argument.partition("=")[2]
        elif argument != "-W":
            packages.append(argument)
    status = 0
    for package in reversed(packages):
        known = [qualified for qualified in statuses if package in (qualified, qualified.partition(":")[0])]
        for qualified in known:
            sys.stdout.write(form.replace("${Package}", qualified.partition(":")[0])
                             .replace("${binary:Package}", qualified).replace("${Status}", statuses[qualified])
                             .replace("\\n", "\n"))
        if not known:
            sys.stderr.write(f"dpkg-query: no packages found matching {package}\n")
            status = 1
    return status


if __name__ == "__main__":
    if sys.argv[1] == "game":
        sys.exit(game(sys.argv[2]))
    if sys.argv[1] == "grab":
        sys.exit(grab(sys.argv[2]))
    if sys.argv[1] == "dpkg-query":
        sys.exit(dpkg_query(sys.argv[2:]))
    sys.exit(xvfb(sys.argv[2], sys.argv[3], sys.argv[4:]))
