#!/usr/bin/env python3
"""Stand-ins that the test of tools/check-game-command.py runs.

  game MODES           a window titled Emberline; MODES, joined by commas:
                       draw (white, ends with status 0 when asked to
                       close), black, stop (holds itself like a hung game),
                       abort-on-close, linger (forks a child at start that
                       holds the display and never ends). With
                       FAKE_GAME_REPORT set, it writes its pid, data folder
                       and its child's pid, if any, there once its window
                       is up.
  xvfb MODE REAL ARGS  the X server REAL, each start's pid listed in the file
                       FAKE_XVFB_PIDS; MODE: plain, split (the display number
                       in two writes a moment apart, ending the server when
                       the second finds the pipe closed, as Xvfb does), fail
                       (fails every time), fail-once (fails the first time).
"""

import ctypes
import os
import resource
import select
import signal
import sys

CLIENT_MESSAGE = 33
SPLIT_PAUSE = 1.0


def game(modes):
    modes = modes.split(",")
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XCreateSimpleWindow.restype = ctypes.c_ulong
    x.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                      ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
    x.XStoreName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_char_p]
    x.XMapWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    display = x.XOpenDisplay(None)
    child = os.fork() if "linger" in modes else None
    if child == 0:
        while True:
            signal.pause()
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
    return 0


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
    if sys.argv[1] == "dpkg-query":
        sys.exit(dpkg_query(sys.argv[2:]))
    sys.exit(xvfb(sys.argv[2], sys.argv[3], sys.argv[4:]))
