#!/usr/bin/env python3
# Usage: tools/check-game-command.py [--build-timeout SECONDS] [--timeout SECONDS]
#                                     [--quit-timeout SECONDS] [--command PATH] [--game PATH]
"""Runs the README's game command, tools/run-game.sh, on a virtual display of
its own until the game's window shows its first picture, then closes the
window as a player would and checks that the game ends with status 0. Prints
the time from the command's start to that picture. The game gets an empty
data folder (a new player's settings and progress) and OpenAL's null device.
Exits non-zero, saying why in one line, when the command ends, fails or
shows nothing in time (a display that stops answering waits no longer),
when the game leaves a process running, when the X server ends or when a
signal stops the check. Before it reports, every process the command
started (a build's jobs too, and any that left the command's session), the
X server and the data folder are gone; a process of its own ends them even
when the check is killed outright."""

import argparse
import contextlib
import ctypes
import json
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

from x11_connection import Lost, Unanswered, X11Connection

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TITLE = b"Emberline"
SCREEN = (1024, 768)
QUIT_WAIT = 60.0
# What a game leaves behind may be ending already: only what still runs after this counts.
LEFTOVER_WAIT = 2.0
# Ending processes: half of it with their first signal (SIGTERM lets Xvfb
# remove its lock file and socket), then SIGKILL.
END_WAIT = 60.0
POLL_SECONDS = 0.1
SERVER_WAIT = 30.0
# How long a display whose answer is due may take before it is said to have
# stopped answering, rather than merely to be slow on a busy machine.
ANSWER_GRACE = 10.0
SERVER_TRIES = 3
# Blocked all along and taken only while the check waits (pause), so that
# none of them leaves a process half started or half ended.
STOP_SIGNALS = {signal.SIGTERM, signal.SIGHUP, signal.SIGINT}
PR_SET_CHILD_SUBREAPER = 36


class Failure(Exception):
    pass


def pause(seconds):
    """Sleeps; a stop signal that came meanwhile, or before, ends the check."""
    caught = signal.sigtimedwait(STOP_SIGNALS, seconds)
    if caught is not None:
        raise Failure(f"stopped by {signal.Signals(caught.si_signo).name}")


def running_processes():
    """Parent, session and name of every process that still runs (a zombie
    has ended), by pid."""
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
        if fields[0] != "Z":
            found[int(entry)] = (int(fields[1]), int(fields[3]), name)
    return found


def session_processes(session):
    """The processes of the session that still run, as names by pid."""
    return {pid: name for pid, (_, member_of, name) in running_processes().items() if member_of == session}


def descendants(ancestor):
    """The processes below ancestor that still run, as names by pid."""
    processes = running_processes()
    children = {}
    for pid, (parent, _, _) in processes.items():
        children.setdefault(parent, []).append(pid)
    found, pending = {}, list(children.get(ancestor, []))
    while pending:
        pid = pending.pop()
        found[pid] = processes[pid][2]
        pending += children.get(pid, [])
    return found


def end_processes(find, first_signal, sleep):
    """Signals every process find gives, forks made meanwhile too, until none
    is left: first_signal for a while (with SIGCONT, without which a stopped
    process would not take it), then SIGKILL; bounded."""
    began = time.monotonic()
    while (processes := find()) and time.monotonic() - began < END_WAIT:
        patient = time.monotonic() - began < END_WAIT / 2
        for pid in processes:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, first_signal if patient else signal.SIGKILL)
                if patient:
                    os.kill(pid, signal.SIGCONT)
        sleep(POLL_SECONDS)


def ask(writing, message):
    os.write(writing, (json.dumps(message) + "\n").encode())


class Guard:
    """The guardian's process: it runs the game command as the child
    subreaper of all the command starts, so that a process that leaves the
    command's session or process group is still found below it; once the
    check lets go of its pipe it ends them, then the sessions it was told to
    watch (the last started first), and removes the data folder."""

    def __init__(self, requests, answers, folder):
        self.requests, self.answers, self.folder = requests, answers, folder
        self.command = None
        self.watched = []

    def serve(self):
        try:
            if ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
                self.answer(error=f"cannot collect the game's orphans: {os.strerror(ctypes.get_errno())}")
                return
            self.answer(ready=True)
            self.obey()
        finally:
            end_processes(lambda: descendants(os.getpid()), signal.SIGKILL, self.pause)
            for session, first_signal in reversed(self.watched):
                end_processes(lambda: session_processes(session), first_signal, self.pause)
            shutil.rmtree(self.folder, ignore_errors=True)

    def obey(self):
        """Until the check lets go of its pipe."""
        text = b""
        while True:
            ready, _, _ = select.select([self.requests], [], [], POLL_SECONDS)
            self.reap()
            if ready:
                part = os.read(self.requests, 1 << 16)
                if not part:
                    return
                *lines, text = (text + part).split(b"\n")
                for line in lines:
                    self.take(json.loads(line))

    def take(self, request):
        if "watch" in request:
            self.watched.append((request["watch"], request["signal"]))
            return
        try:
            self.command = os.posix_spawnp(request["run"][0], request["run"], request["environment"],
                                           file_actions=[(os.POSIX_SPAWN_OPEN, 0, os.devnull, os.O_RDONLY, 0)],
                                           setsid=True, setsigmask=(), setsigdef=(signal.SIGPIPE, signal.SIGXFSZ))
            self.answer(started=self.command)
        except OSError as error:
            self.answer(error=f"cannot run the game command {request['run'][0]}: {error.strerror}")

    def reap(self):
        """Collects every child that has ended, the command's orphans too,
        and tells the command's status."""
        while True:
            try:
                pid, status = os.waitpid(-1, os.WNOHANG)
            except ChildProcessError:
                return
            if pid == 0:
                return
            if pid == self.command:
                self.answer(ended=os.waitstatus_to_exitcode(status))

    def pause(self, seconds):
        time.sleep(seconds)
        self.reap()

    def answer(self, **message):
        with contextlib.suppress(BrokenPipeError):  # the check was killed: it asks no more
            ask(self.answers, message)


class Guardian:
    """The check's side of the guard, a process of its own in a session of
    its own that ends what the check started once the check finishes, or
    however it ends, even killed outright."""

    def __init__(self, folder):
        requests, self.requests = os.pipe()
        self.answers, answers = os.pipe()
        self.pid = os.fork()
        if self.pid == 0:
            try:
                os.close(self.requests)
                os.close(self.answers)
                os.setsid()
                Guard(requests, answers, folder).serve()
            except BaseException:
                traceback.print_exc()
            os._exit(0)
        os.close(requests)
        os.close(answers)
        self.text = b""

    def __enter__(self):
        return self

    def __exit__(self, *_):
        """Ends everything watched and removes the folder; returns when done."""
        os.close(self.requests)
        os.waitpid(self.pid, 0)

    def ready(self):
        self.answer(time.monotonic() + SERVER_WAIT)

    def watch(self, session, first_signal):
        ask(self.requests, {"watch": session, "signal": first_signal})

    def run(self, arguments, environment):
        ask(self.requests, {"run": arguments, "environment": environment})
        return GameCommand(self, self.answer(time.monotonic() + SERVER_WAIT)["started"])

    def answer(self, deadline=None):
        """The guard's next answer; without a deadline, None when it has none yet."""
        while b"\n" not in self.text:
            ready, _, _ = select.select([self.answers], [], [], 0 if deadline is None else POLL_SECONDS)
            if ready:
                part = os.read(self.answers, 1 << 16)
                if not part:
                    raise Failure("the check's guard ended early")
                self.text += part
                continue
            if deadline is None:
                return None
            pause(0)
            if time.monotonic() >= deadline:
                raise Failure(f"the check's guard did not answer within {SERVER_WAIT:.0f} s")
        line, self.text = self.text.split(b"\n", 1)
        message = json.loads(line)
        if "error" in message:
            raise Failure(message["error"])
        return message


class GameCommand:
    """The game command, a child of the guard: its pid and, once it has ended, its status."""

    def __init__(self, guardian, pid):
        self.guardian, self.pid = guardian, pid
        self.returncode = None

    def poll(self):
        if self.returncode is None and (message := self.guardian.answer()) is not None:
            self.returncode = message["ended"]
        return self.returncode


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


class VirtualDisplay:
    """An Xvfb of the check's own and the check's connection to it. Every
    wait on it ends at a deadline, on a stop signal or at the server's end."""

    def __init__(self, server, number, connection):
        self.server, self.name, self.connection = server, f":{number}", connection
        connection.tick = lambda: self.tick(0)
        deadline = time.monotonic() + SERVER_WAIT
        with self.answering(f"the virtual display did not answer within {SERVER_WAIT:.0f} s"):
            self.protocols = connection.intern_atom(b"WM_PROTOCOLS", deadline)
            self.delete_window = connection.intern_atom(b"WM_DELETE_WINDOW", deadline)
        if connection.bits_per_pixel != 32:
            raise Failure(f"the virtual display has {connection.bits_per_pixel} bits a pixel, not 32")

    def tick(self, seconds):
        pause(seconds)
        if self.server.poll() is not None:
            raise Failure(f"the virtual display's X server {ending(self.server.returncode)}")

    @contextlib.contextmanager
    def answering(self, late):
        """Tells a deadline passed with no answer as late, and a broken
        connection by its cause, most likely the server's end."""
        try:
            yield
        except Unanswered:
            if self.connection.answers_within(ANSWER_GRACE):
                raise Failure(late) from None
            raise Failure(f"{late} (the virtual display stopped answering)") from None
        except Lost:
            waited = time.monotonic()
            while time.monotonic() - waited < SERVER_WAIT:
                self.tick(POLL_SECONDS)
            raise Failure("the connection to the virtual display broke") from None

    def picture(self, deadline, late):
        """The game's window once the screen shows something, else None."""
        with self.answering(late):
            window = self.connection.find_window(TITLE, deadline)
            if window is not None and self.connection.colour_shown(*SCREEN, deadline):
                return window
        return None

    def ask_to_close(self, window, deadline, late):
        """What a window manager sends when the player clicks the close button."""
        with self.answering(late):
            self.connection.send_client_message(window, self.protocols, [self.delete_window, 0, 0, 0, 0],
                                                deadline)


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
                    connection = X11Connection(number, time.monotonic() + SERVER_WAIT, lambda: pause(0))
                    return VirtualDisplay(server, number, connection)
                except (Lost, Unanswered):  # the server ended or hangs; its log says why
                    pass
            end_processes(lambda: session_processes(server.pid), signal.SIGTERM, pause)
            server.wait()
            complaint = server_complaint(log)
    raise Failure(f"no virtual display in {SERVER_TRIES} tries; the last Xvfb said: {complaint}")


def ended(command, display):
    """The command's status once it has ended; the X server's end, which may
    be why it ended, is told first."""
    status = command.poll()
    display.tick(0)
    return status


def ended_early(command, display):
    status = ended(command, display)
    if status is not None:
        raise Failure(f"the game command {ending(status)} before the game showed a picture")


def wait_for_game(command, display, game, started, timeout):
    """Until the command's own process runs the game's program (the command
    ends by exec-ing it): what comes before, the build, has a bound of its own."""
    while time.monotonic() - started < timeout:
        ended_early(command, display)
        try:
            if os.readlink(f"/proc/{command.pid}/exe") == game:
                return time.monotonic()
        except OSError:  # it has just ended; the next poll says how
            pass
        display.tick(POLL_SECONDS)
    raise Failure(f"the game did not start within {timeout:.0f} s of the game command's start")


def wait_for_first_picture(display, command, started, timeout):
    late = f"no picture from the game within {timeout:.0f} s of the game's start"
    while time.monotonic() - started < timeout:
        ended_early(command, display)
        window = display.picture(started + timeout, late)
        if window is not None:
            return window
        display.tick(POLL_SECONDS)
    raise Failure(late)


def close_and_wait_for_end(display, command, window, timeout):
    asked = time.monotonic()
    late = f"the game still ran {timeout:.0f} s after its window was asked to close"
    display.ask_to_close(window, asked + timeout, late)
    while (status := ended(command, display)) is None:
        if time.monotonic() - asked >= timeout:
            raise Failure(late)
        display.tick(POLL_SECONDS)
    return status


def left_running(guardian, display):
    """What still runs of all the command started, a short while on: the
    guard is the parent of each one left an orphan."""
    waited = time.monotonic()
    while (processes := descendants(guardian.pid)) and time.monotonic() - waited < LEFTOVER_WAIT:
        display.tick(POLL_SECONDS)
    return processes


def run(arguments, guardian, data):
    """Returns the line to print once everything has ended."""
    guardian.ready()
    display = start_virtual_display(guardian)
    environment = dict(os.environ, DISPLAY=display.name, XDG_DATA_HOME=data, ALSOFT_DRIVERS="null")
    for variable in ("WAYLAND_DISPLAY", "SDL_VIDEODRIVER"):
        environment.pop(variable, None)
    started = time.monotonic()
    command = guardian.run([arguments.command], environment)
    game_started = wait_for_game(command, display, os.path.realpath(arguments.game), started,
                                 arguments.build_timeout)
    window = wait_for_first_picture(display, command, game_started, arguments.timeout)
    shown = time.monotonic()
    status = close_and_wait_for_end(display, command, window, arguments.quit_timeout)
    if status != 0:
        raise Failure(f"the game {ending(status)} when its window was asked to close")
    left = left_running(guardian, display)
    if left:
        raise Failure("the game ended with status 0 but left running: "
                      + ", ".join(f"{name} (pid {pid})" for pid, name in left.items()))
    return (f"game command: the game's first picture {shown - started:.1f} s after the command started"
            f" ({shown - game_started:.1f} s after the game started); closed by its window, it ended with"
            f" status 0 in {time.monotonic() - shown:.1f} s")


def check(arguments):
    data = tempfile.mkdtemp(prefix="emberline-check-")
    with Guardian(data) as guardian:
        line = run(arguments, guardian, data)
    pause(0)  # a stop while everything ended fails the check all the same
    return line


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
