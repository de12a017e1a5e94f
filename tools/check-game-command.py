#!/usr/bin/env python3
# Usage: tools/check-game-command.py [--build-timeout SECONDS] [--timeout SECONDS]
#                                     [--quit-timeout SECONDS] [--command PATH] [--game PATH]
"""Runs the README's game command, tools/run-game.sh, on a virtual display of
its own until the game's window shows its first picture, then closes the
window as a player would and checks that the game ends with status 0. Prints
the time from the command's start to that picture. The game gets an empty
data folder (a new player's settings and progress) and OpenAL's null device.
Exits non-zero, saying why in one line, when the command ends, fails or
shows nothing in time, when the game leaves a process running, when the X
server ends or when a signal stops the check. Before it reports, every
process of the command's session (a build's jobs too), the X server and the
data folder are gone; a process of its own ends them even when the check is
killed outright."""

import argparse
import contextlib
import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TITLE = b"Emberline"
SCREEN = (1024, 768)
QUIT_WAIT = 60.0
# What a game leaves behind may be ending already: only what still runs after this counts.
LEFTOVER_WAIT = 2.0
# Ending a session: half of it with its first signal (SIGTERM lets Xvfb remove
# its lock file and socket), then SIGKILL.
END_WAIT = 60.0
POLL_SECONDS = 0.1
SERVER_WAIT = 30.0
SERVER_TRIES = 3
# Blocked all along and taken only while the check waits (pause), so that
# none of them leaves a process half started or half ended.
STOP_SIGNALS = {signal.SIGTERM, signal.SIGHUP, signal.SIGINT}


class Failure(Exception):
    pass


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("client", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33
Z_PIXMAP = 2
ALL_PLANES = ctypes.c_ulong(-1)
# Windows come and go between a query and a read: such errors only mean "not yet".
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda display, error: 0)
IO_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)


class Display:
    """The few Xlib calls the check needs: find the game's window, read the
    screen, ask the window to close."""

    def __init__(self, name):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                      ctypes.POINTER(ctypes.c_ulong),
                                      ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)), ctypes.POINTER(ctypes.c_uint)]
        self.x.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                     ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XInternAtom.restype = ctypes.c_ulong
        self.x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                      ctypes.POINTER(XEvent)]
        self.x.XFlush.argtypes = [ctypes.c_void_p]
        self.x.XSetErrorHandler(ERROR_HANDLER)
        self.name = name
        self.display = self.x.XOpenDisplay(name.encode())
        if not self.display:
            raise Failure(f"cannot open the virtual display {name}")
        self.root = self.x.XDefaultRootWindow(self.display)

    def when_lost(self, callback):
        """Xlib ends the process once the connection breaks, after calling
        this; the callback ends the check its own way instead."""
        self.lost = IO_ERROR_HANDLER(lambda display: callback())
        self.x.XSetIOErrorHandler(self.lost)

    def find_window(self, title, window=None):
        window = self.root if window is None else window
        root, parent, count = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_uint()
        children = ctypes.POINTER(ctypes.c_ulong)()
        if not self.x.XQueryTree(self.display, window, ctypes.byref(root), ctypes.byref(parent),
                                 ctypes.byref(children), ctypes.byref(count)):
            return None
        try:
            for index in range(count.value):
                child = children[index]
                name = ctypes.c_char_p()
                if self.x.XFetchName(self.display, child, ctypes.byref(name)) and name.value is not None:
                    matches = name.value == title
                    self.x.XFree(name)
                    if matches:
                        return child
                found = self.find_window(title, child)
                if found is not None:
                    return found
        finally:
            if children:
                self.x.XFree(children)
        return None

    def screen_shows_something(self):
        """True once any pixel of the screen (black before the game) has colour."""
        image = self.x.XGetImage(self.display, self.root, 0, 0, SCREEN[0], SCREEN[1], ALL_PLANES, Z_PIXMAP)
        if not image:
            return False
        try:
            picture = image.contents
            if picture.bits_per_pixel != 32:
                raise Failure(f"the virtual display has {picture.bits_per_pixel} bits a pixel, not 32")
            mask = picture.red_mask | picture.green_mask | picture.blue_mask
            pixels = memoryview(ctypes.string_at(picture.data, picture.bytes_per_line * picture.height)).cast("I")
            return any(pixel & mask for pixel in pixels)
        finally:
            self.x.XFree(image.contents.data)
            self.x.XFree(image)

    def ask_to_close(self, window):
        """What a window manager sends when the player clicks the close button."""
        event = XEvent()
        event.client.type = CLIENT_MESSAGE
        event.client.window = window
        event.client.message_type = self.x.XInternAtom(self.display, b"WM_PROTOCOLS", 0)
        event.client.format = 32
        event.client.data[0] = self.x.XInternAtom(self.display, b"WM_DELETE_WINDOW", 0)
        self.x.XSendEvent(self.display, window, 0, 0, ctypes.byref(event))
        self.x.XFlush(self.display)


def pause(seconds):
    """Sleeps; a stop signal that came meanwhile, or before, ends the check."""
    caught = signal.sigtimedwait(STOP_SIGNALS, seconds)
    if caught is not None:
        raise Failure(f"stopped by {signal.Signals(caught.si_signo).name}")


def session_processes(session):
    """The processes of the session that still run (a zombie has ended), as
    names by pid."""
    found = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as file:
                text = file.read()
        except OSError:  # it has just ended
            continue
        name, fields = text[text.index("(") + 1:text.rindex(")")], text[text.rindex(")") + 1:].split()
        if fields[0] != "Z" and int(fields[3]) == session:
            found[int(entry)] = name
    return found


def end_session(session, first_signal):
    """Signals every process of the session, forks made meanwhile too, until
    none is left: first_signal for a while, then SIGKILL; bounded."""
    began = time.monotonic()
    while (processes := session_processes(session)) and time.monotonic() - began < END_WAIT:
        patient = time.monotonic() - began < END_WAIT / 2
        for pid in processes:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, first_signal if patient else signal.SIGKILL)
        time.sleep(POLL_SECONDS)


class Guardian:
    """A process of its own, in a session of its own, that ends the sessions
    the check started (the last started first) and removes the data folder
    once the check lets go of its pipe: when the check finishes, or however
    it ends, even killed outright."""

    def __init__(self, folder):
        reading, self.writing = os.pipe()
        self.pid = os.fork()
        if self.pid == 0:
            try:
                os.close(self.writing)
                os.setsid()
                self.guard(reading, folder)
            except BaseException:
                traceback.print_exc()
            os._exit(0)
        os.close(reading)

    @staticmethod
    def guard(reading, folder):
        text = b""
        while part := os.read(reading, 4096):
            text += part
        for line in reversed(text.decode().splitlines()):
            session, first_signal = line.split()
            end_session(int(session), int(first_signal))
        shutil.rmtree(folder, ignore_errors=True)

    def watch(self, session, first_signal):
        os.write(self.writing, f"{session} {first_signal}\n".encode())

    def finish(self):
        """Ends everything watched and removes the folder; returns when done."""
        os.close(self.writing)
        os.waitpid(self.pid, 0)


def start(arguments, guardian, first_signal, **options):
    """Starts the program in a session of its own, watched by the guardian
    from before it runs anything. Children inherit the blocked mask; they
    take the stop signals as usual."""
    def prepare():
        signal.pthread_sigmask(signal.SIG_UNBLOCK, STOP_SIGNALS)
        guardian.watch(os.getpid(), first_signal)
    return subprocess.Popen(arguments, preexec_fn=prepare, start_new_session=True, **options)


def ending(status):
    if status >= 0:
        return f"ended with status {status}"
    try:
        return f"was killed by {signal.Signals(-status).name}"
    except ValueError:
        return f"was killed by signal {-status}"


def read_display_number(reading):
    """The number up to its newline: Xvfb writes the two separately and dies
    when the pipe is closed between them."""
    text = b""
    deadline = time.monotonic() + SERVER_WAIT
    while not text.endswith(b"\n") and time.monotonic() < deadline:
        ready, _, _ = select.select([reading], [], [], POLL_SECONDS)
        pause(0)
        if ready:
            part = os.read(reading, 16)
            if not part:
                break
            text += part
    return text.decode().strip()


def server_complaint(log):
    """Why the server failed, in its own words."""
    log.seek(0)
    lines = [line.removeprefix("(EE)").strip() for line in log.read().decode(errors="replace").splitlines()]
    lines = [line for line in lines if line]
    for line, following in zip(lines, lines[1:]):
        if line.startswith("Fatal server error"):
            return f"{line} {following}"
    return lines[-1] if lines else "nothing"


def start_virtual_display(guardian):
    """An Xvfb on a display number it picks itself, and a connection to it; a
    server that fails gives way to a fresh one a few times. The server has a
    session of its own: a Ctrl-C reaches only the check, which ends it."""
    if shutil.which("Xvfb") is None:
        raise Failure("Xvfb is not installed (tools/setup.sh installs it)")
    for _ in range(SERVER_TRIES):
        with tempfile.TemporaryFile() as log:
            reading, writing = os.pipe()
            server = start(["Xvfb", "-displayfd", str(writing), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
                            "-br", "-nolisten", "tcp", "-noreset"], guardian, signal.SIGTERM, pass_fds=(writing,),
                           stdout=subprocess.DEVNULL, stderr=log)
            os.close(writing)
            try:
                number = read_display_number(reading)
            finally:
                os.close(reading)
            if number:
                try:
                    return server, Display(f":{number}")
                except Failure:  # the server ended meanwhile; its log says why
                    pass
            end_session(server.pid, signal.SIGTERM)
            server.wait()
            complaint = server_complaint(log)
    raise Failure(f"no virtual display in {SERVER_TRIES} tries; the last Xvfb said: {complaint}")


def server_ended(server):
    return Failure(f"the virtual display's X server {ending(server.returncode)}")


def when_connection_lost(server, guardian):
    """Ends everything, says why in one line and exits."""
    try:
        try:
            server.wait(SERVER_WAIT)  # its end is what broke the connection
            failure = server_ended(server)
        except subprocess.TimeoutExpired:
            failure = Failure("the connection to the virtual display broke")
        guardian.finish()
        report(failure)
    finally:
        os._exit(1)


def ended_early(command):
    status = command.poll()
    if status is not None:
        raise Failure(f"the game command {ending(status)} before the game showed a picture")


def wait_for_game(command, server, game, started, timeout):
    """Until the command's own process runs the game's program (the command
    ends by exec-ing it): what comes before, the build, has a bound of its own."""
    while time.monotonic() - started < timeout:
        if server.poll() is not None:
            raise server_ended(server)
        ended_early(command)
        try:
            if os.readlink(f"/proc/{command.pid}/exe") == game:
                return time.monotonic()
        except OSError:  # it has just ended; the next poll says how
            pass
        pause(POLL_SECONDS)
    raise Failure(f"the game did not start within {timeout:.0f} s of the game command's start")


def wait_for_first_picture(display, command, started, timeout):
    while time.monotonic() - started < timeout:
        ended_early(command)
        window = display.find_window(TITLE)
        if window is not None and display.screen_shows_something():
            return window
        pause(POLL_SECONDS)
    raise Failure(f"no picture from the game within {timeout:.0f} s of the game's start")


def wait_for_end(command, timeout):
    asked = time.monotonic()
    while command.poll() is None:
        if time.monotonic() - asked >= timeout:
            raise Failure(f"the game still ran {timeout:.0f} s after its window was asked to close")
        pause(POLL_SECONDS)
    return command.returncode


def left_running(session):
    """What still runs of the session a short while on."""
    waited = time.monotonic()
    while (processes := session_processes(session)) and time.monotonic() - waited < LEFTOVER_WAIT:
        pause(POLL_SECONDS)
    return processes


def check(arguments):
    """Returns the line to print once everything has ended."""
    data = tempfile.mkdtemp(prefix="emberline-check-")
    guardian = Guardian(data)
    try:
        server, display = start_virtual_display(guardian)
        display.when_lost(lambda: when_connection_lost(server, guardian))
        environment = dict(os.environ, DISPLAY=display.name, XDG_DATA_HOME=data, ALSOFT_DRIVERS="null")
        for variable in ("WAYLAND_DISPLAY", "SDL_VIDEODRIVER"):
            environment.pop(variable, None)
        started = time.monotonic()
        # The build's jobs run in process groups of their own: only the session holds them all.
        command = start([arguments.command], guardian, signal.SIGKILL, env=environment, stdin=subprocess.DEVNULL)
        game_started = wait_for_game(command, server, os.path.realpath(arguments.game), started,
                                     arguments.build_timeout)
        window = wait_for_first_picture(display, command, game_started, arguments.timeout)
        shown = time.monotonic()
        display.ask_to_close(window)
        status = wait_for_end(command, arguments.quit_timeout)
        if status != 0:
            raise Failure(f"the game {ending(status)} when its window was asked to close")
        left = left_running(command.pid)
        if left:
            raise Failure("the game ended with status 0 but left running: "
                          + ", ".join(f"{name} (pid {pid})" for pid, name in left.items()))
        return (f"game command: the game's first picture {shown - started:.1f} s after the command started"
                f" ({shown - game_started:.1f} s after the game started); closed by its window, it ended with"
                f" status 0 in {time.monotonic() - shown:.1f} s")
    finally:
        guardian.finish()


def report(failure):
    print(f"check-game-command: {failure}", file=sys.stderr, flush=True)


def main():
    signal.pthread_sigmask(signal.SIG_BLOCK, STOP_SIGNALS)
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build-timeout", type=float, default=3600.0,
                        help="seconds from the command's start to the game's start (it builds first)")
    parser.add_argument("--timeout", type=float, default=240.0,
                        help="seconds from the game's start to its first picture")
    parser.add_argument("--quit-timeout", type=float, default=QUIT_WAIT,
                        help="seconds from the request to close the window to the game's end")
    parser.add_argument("--command", default=os.path.join(ROOT, "tools", "run-game.sh"),
                        help="the game command (tests give stand-ins)")
    parser.add_argument("--game", default=os.path.join(ROOT, "build", "release", "bin", "Emberline"),
                        help="the program the game command ends by running")
    arguments = parser.parse_args()
    try:
        print(check(arguments), flush=True)
    except Failure as failure:
        report(failure)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
