#!/usr/bin/env python3
# Usage: tools/check-game-command.py [--timeout SECONDS]
"""Runs the README's game command, tools/run-game.sh, on a virtual display of
its own until the game's window shows its first picture, then closes the
window as a player would and checks that the game ends with status 0. Prints
the time from the command's start to that picture. The game gets an empty
data folder (a new player's settings and progress) and OpenAL's null device.
Exits non-zero, saying why in one line, when the command ends, fails or
shows nothing in time."""

import argparse
import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TITLE = b"Emberline"
SCREEN = (1024, 768)
QUIT_WAIT = 60.0
POLL_SECONDS = 0.1


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
        self.x.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x.XSetErrorHandler(ERROR_HANDLER)
        self.display = self.x.XOpenDisplay(name.encode())
        if not self.display:
            raise Failure(f"cannot open the virtual display {name}")
        self.root = self.x.XDefaultRootWindow(self.display)

    def close(self):
        self.x.XCloseDisplay(self.display)

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


def start_virtual_display():
    if shutil.which("Xvfb") is None:
        raise Failure("Xvfb is not installed (tools/setup.sh installs it)")
    reading, writing = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(writing), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
                               "-br", "-nolisten", "tcp", "-noreset"], pass_fds=(writing,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(writing)
    ready, _, _ = select.select([reading], [], [], 30)
    number = os.read(reading, 16).decode().strip() if ready else ""
    os.close(reading)
    if not number:
        server.kill()
        raise Failure("Xvfb did not start")
    return server, f":{number}"


def wait_for_first_picture(display, command, started, timeout):
    while time.monotonic() - started < timeout:
        status = command.poll()
        if status is not None:
            raise Failure(f"the game command ended with status {status} before the game showed a picture")
        window = display.find_window(TITLE)
        if window is not None and display.screen_shows_something():
            return window
        time.sleep(POLL_SECONDS)
    raise Failure(f"no picture from the game within {timeout:.0f} s of the game command's start")


def check(timeout):
    server, name = start_virtual_display()
    data = tempfile.mkdtemp(prefix="emberline-check-")
    command = None
    try:
        environment = dict(os.environ, DISPLAY=name, XDG_DATA_HOME=data, ALSOFT_DRIVERS="null")
        for variable in ("WAYLAND_DISPLAY", "SDL_VIDEODRIVER"):
            environment.pop(variable, None)
        started = time.monotonic()
        command = subprocess.Popen([os.path.join(ROOT, "tools", "run-game.sh")], env=environment,
                                   stdin=subprocess.DEVNULL, start_new_session=True)
        display = Display(name)
        try:
            window = wait_for_first_picture(display, command, started, timeout)
            shown = time.monotonic() - started
            display.ask_to_close(window)
            closed = time.monotonic()
            try:
                status = command.wait(QUIT_WAIT)
            except subprocess.TimeoutExpired:
                raise Failure(f"the game still ran {QUIT_WAIT:.0f} s after its window was asked to close")
        finally:
            display.close()
        if status != 0:
            raise Failure(f"the game ended with status {status} when its window was asked to close")
        print(f"game command: the game's first picture {shown:.1f} s after the command started;"
              f" closed by its window, it ended with status 0 in {time.monotonic() - closed:.1f} s", flush=True)
    finally:
        if command is not None and command.poll() is None:
            os.killpg(command.pid, signal.SIGKILL)
            command.wait()
        server.terminate()
        server.wait()
        shutil.rmtree(data, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--timeout", type=float, default=1800.0,
                        help="seconds from the command's start to the game's first picture (it builds first)")
    arguments = parser.parse_args()
    try:
        check(arguments.timeout)
    except Failure as failure:
        print(f"check-game-command: {failure}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
