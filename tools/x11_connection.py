"""The few requests of the X11 protocol the game command's check needs, over a
display's local socket, for a tool that must never wait on a server without
bound: every request has a deadline, and between short waits the caller's
tick runs (it may raise to stop, on a signal say). A server that is stopped,
or held by another client's grab, only makes the deadline pass."""

import select
import socket
import struct
import time

POLL_SECONDS = 0.1
REPLY = 1
ERROR = 0
GENERIC_EVENT = 35
ATOM_STRING = 31
ATOM_WM_NAME = 39
CLIENT_MESSAGE = 33
Z_PIXMAP = 2
LSB_FIRST = 0
# As much of a name as Xlib's XFetchName reads, in 4-byte units.
NAME_LENGTH = 8192


class Unanswered(Exception):
    """The deadline passed before the server answered."""


class Lost(Exception):
    """The server refused the connection or closed it."""


def padded(data):
    return data + b"\0" * (-len(data) % 4)


class X11Connection:
    def __init__(self, number, deadline, tick):
        self.tick = tick
        self.sequence = 0
        self.received = bytearray()
        self.socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.socket.setblocking(False)
        try:
            self.socket.connect(f"/tmp/.X11-unix/X{number}")
            self.read_setup(deadline)
        except BaseException:
            self.socket.close()
            raise

    def read_setup(self, deadline):
        """Connects without authorisation, as the server that the check starts
        expects, and keeps what reading the screen needs."""
        self.send(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0), deadline)
        status, reason_length, _, _, length = struct.unpack("<BBHHH", self.receive(8, deadline))
        body = self.receive(length * 4, deadline)
        if status != 1:
            reason = body[:reason_length] if status == 0 else body.rstrip(b"\0")
            raise Lost(f"the X server refused the connection: {reason.decode(errors='replace').strip()}")
        vendor_length, _, _, format_count, self.image_byte_order = struct.unpack_from("<HHBBB", body, 16)
        offset = 32 + len(padded(b"\0" * vendor_length))
        bits_per_pixel = {}
        for _ in range(format_count):
            depth, bits = struct.unpack_from("<BB", body, offset)
            bits_per_pixel[depth] = bits
            offset += 8
        self.root, = struct.unpack_from("<I", body, offset)
        root_visual, root_depth, depth_count = struct.unpack_from("<IxxBB", body, offset + 32)
        self.bits_per_pixel = bits_per_pixel[root_depth]
        self.colour_mask = 0
        offset += 40
        for _ in range(depth_count):
            visual_count, = struct.unpack_from("<xxH", body, offset)
            offset += 8
            for _ in range(visual_count):
                visual, red, green, blue = struct.unpack_from("<I4xIII", body, offset)
                if visual == root_visual:
                    self.colour_mask = red | green | blue
                offset += 24

    def wait(self, deadline, readable):
        while True:
            remaining = deadline - time.monotonic()
            wanted = [self.socket]
            ready = select.select(wanted if readable else [], [] if readable else wanted, [],
                                  min(POLL_SECONDS, max(remaining, 0)))
            if ready[0] or ready[1]:
                return
            self.tick()
            if remaining <= 0:
                raise Unanswered()

    def answers_within(self, seconds):
        """Whether the server says anything within the time: a reply that was
        merely late on a busy machine comes, a stopped or grabbed server's
        never does."""
        if self.received:
            return True
        try:
            self.wait(time.monotonic() + seconds, readable=True)
        except Unanswered:
            return False
        return True

    def send(self, data, deadline):
        data = memoryview(data)
        while data:
            self.wait(deadline, readable=False)
            try:
                data = data[self.socket.send(data):]
            except BlockingIOError:
                pass
            except OSError as error:
                raise Lost(f"the connection to the X server broke: {error.strerror}")

    def receive(self, size, deadline):
        while len(self.received) < size:
            self.wait(deadline, readable=True)
            try:
                part = self.socket.recv(1 << 20)
            except BlockingIOError:
                continue
            except OSError as error:
                raise Lost(f"the connection to the X server broke: {error.strerror}")
            if not part:
                raise Lost("the X server closed the connection")
            self.received += part
        data = bytes(self.received[:size])
        del self.received[:size]
        return data

    def request(self, opcode, detail, body, deadline):
        """Sends a request; returns its sequence number."""
        body = padded(body)
        self.send(struct.pack("<BBH", opcode, detail, 1 + len(body) // 4) + body, deadline)
        self.sequence = (self.sequence + 1) & 0xFFFF
        return self.sequence

    def answer(self, sequence, deadline):
        """The reply to the request, or None when the server answered it with
        an error (a window that is gone meanwhile, say). Events, and answers
        to requests given up on, are passed over."""
        while True:
            message = self.receive(32, deadline)
            kind, = struct.unpack_from("<B", message)
            if kind in (REPLY, GENERIC_EVENT):
                message += self.receive(struct.unpack_from("<I", message, 4)[0] * 4, deadline)
            if kind in (REPLY, ERROR) and struct.unpack_from("<H", message, 2)[0] == sequence:
                return message if kind == REPLY else None

    def intern_atom(self, name, deadline):
        reply = self.answer(self.request(16, 0, struct.pack("<HH", len(name), 0) + name, deadline), deadline)
        return struct.unpack_from("<I", reply, 8)[0]

    def children(self, window, deadline):
        reply = self.answer(self.request(15, 0, struct.pack("<I", window), deadline), deadline)
        if reply is None:
            return []
        count, = struct.unpack_from("<H", reply, 16)
        return list(struct.unpack_from(f"<{count}I", reply, 32))

    def name(self, window, deadline):
        """The window's name when it is text of type STRING, as XFetchName reads it."""
        body = struct.pack("<IIIII", window, ATOM_WM_NAME, ATOM_STRING, 0, NAME_LENGTH)
        reply = self.answer(self.request(20, 0, body, deadline), deadline)
        if reply is None:
            return None
        value_format, value_type, _, length = struct.unpack_from("<xBxxxxxxIII", reply)
        if value_type != ATOM_STRING or value_format != 8:
            return None
        return reply[32:32 + length]

    def find_window(self, title, deadline, window=None):
        """The first window, depth first, named title."""
        for child in self.children(self.root if window is None else window, deadline):
            if self.name(child, deadline) == title:
                return child
            found = self.find_window(title, deadline, child)
            if found is not None:
                return found
        return None

    def colour_shown(self, width, height, deadline):
        """True once any pixel of the root window's area from its corner has
        colour; the screen must have 32 bits a pixel."""
        body = struct.pack("<IhhHHI", self.root, 0, 0, width, height, 0xFFFFFFFF)
        reply = self.answer(self.request(73, Z_PIXMAP, body, deadline), deadline)
        if reply is None:
            return False
        pixels = reply[32:32 + width * height * 4]
        mask = self.colour_mask.to_bytes(4, "little" if self.image_byte_order == LSB_FIRST else "big")
        # A byte of the pixels at a time, each kept to its part of the mask.
        return any(part and pixels[lane::4].translate(bytes(value & part for value in range(256))).count(0)
                   < width * height for lane, part in enumerate(mask))

    def send_client_message(self, window, message_type, data, deadline):
        """Sends the window a client message of five 32-bit words, as from another client."""
        event = struct.pack("<BBHII5I", CLIENT_MESSAGE, 32, 0, window, message_type, *data)
        self.request(25, 0, struct.pack("<II", window, 0) + event, deadline)
