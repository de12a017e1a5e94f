#!/usr/bin/env python3
"""CI's check of the game command, tools/check-game-command.py, run on game
commands and X servers that stand in for the real ones
(Tools_CheckGameCommandFakes.py): the release build of the game is not needed."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CHECK = os.path.join(HERE, "..", "..", "tools", "check-game-command.py")
FAKES = os.path.join(HERE, "Tools_CheckGameCommandFakes.py")
# The program the stand-in games run on: the check tells by it that the game has started.
PYTHON = os.path.realpath(shutil.which("python3"))
HANG_GUARD = 120.0


def running(pid):
    """False once the process has ended, reaped or not."""
    try:
        with open(f"/proc/{pid}/stat") as file:
            return file.read().rpartition(")")[2].split()[0] != "Z"
    except FileNotFoundError:
        return False


class CheckGameCommandTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="check-game-command-test-")
        self.addCleanup(shutil.rmtree, self.folder, ignore_errors=True)
        self.environment = dict(os.environ)
        self.scripts = 0
        self.logs = {}

    def script(self, name, text):
        self.scripts += 1
        path = os.path.join(self.folder, str(self.scripts), name)
        os.makedirs(os.path.dirname(path))
        with open(path, "w") as file:
            file.write("#!/usr/bin/env bash\n" + text)
        os.chmod(path, 0o755)
        return path

    def game_command(self, mode, build=""):
        """A game command that runs `build` and then the stand-in game."""
        return self.script("run-game.sh", f"{build}\nexec python3 {FAKES} game {mode}\n")

    def use_xvfb(self, mode):
        """Puts a stand-in Xvfb first on the check's path; returns the file
        that lists the pids of the servers it starts."""
        real = shutil.which("Xvfb")
        xvfb = self.script("Xvfb", f'exec python3 {FAKES} xvfb {mode} {real} "$@"\n')
        pids = os.path.join(os.path.dirname(xvfb), "pids")
        self.environment.update(PATH=os.path.dirname(xvfb) + os.pathsep + os.environ["PATH"], FAKE_XVFB_PIDS=pids)
        return pids

    def start_check(self, command, *options):
        # Its output goes to files: a process it leaves behind cannot hold up the test.
        logs = [self.enterContext(tempfile.TemporaryFile("w+")) for _ in range(2)]
        check = subprocess.Popen([sys.executable, CHECK, "--command", command, "--game", PYTHON, *options],
                                 env=self.environment, stdout=logs[0], stderr=logs[1])
        self.addCleanup(check.wait)
        self.addCleanup(check.kill)
        self.logs[check] = logs
        return check

    def end_of(self, check):
        check.wait(HANG_GUARD)
        for log in self.logs[check]:
            log.seek(0)
        return (check.returncode, *(log.read() for log in self.logs[check]))

    def run_check(self, command, *options):
        return self.end_of(self.start_check(command, *options))

    def assertPasses(self, result):
        status, output, errors = result
        self.assertEqual(status, 0, errors)
        self.assertTrue(output.startswith("game command: the game's first picture"), output)

    def assertFailsWith(self, result, line):
        status, _, errors = result
        self.assertNotEqual(status, 0)
        self.assertEqual(errors.splitlines()[-1:], [f"check-game-command: {line}"], errors)

    def assertStarts(self, pids, count):
        with open(pids) as file:
            self.assertEqual(len(file.readlines()), count)

    def test_virtual_display(self):
        """Its number is read whole, however it arrives; a server that fails
        gives way to a fresh one, and the last one's reason is told; checks
        side by side each get a display of their own."""
        command = self.game_command("draw")
        with self.subTest("number in two writes"):
            self.use_xvfb("split")
            self.assertPasses(self.run_check(command))
        with self.subTest("a server failing once"):
            pids = self.use_xvfb("fail-once")
            self.assertPasses(self.run_check(command))
            self.assertStarts(pids, 2)
        with self.subTest("a server failing always"):
            pids = self.use_xvfb("fail")
            self.assertFailsWith(self.run_check(command), "no virtual display in 3 tries; the last Xvfb said:"
                                 " Fatal server error: Cannot establish any listening sockets")
            self.assertStarts(pids, 3)
        with self.subTest("two checks at once"):
            self.environment = dict(os.environ)
            for check in [self.start_check(command) for _ in range(2)]:
                self.assertPasses(self.end_of(check))

    def test_stop_signal_ends_everything(self):
        """Whatever signal stops it, the check ends the game (held, like a
        hung one) and its X server, removes the game's data folder and says
        so."""
        command = self.game_command("stop")
        for stop in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
            with self.subTest(stop.name):
                pids = self.use_xvfb("plain")
                report = os.path.join(self.folder, f"report-{stop.name}")
                self.environment["FAKE_GAME_REPORT"] = report
                check = self.start_check(command)
                waited = time.monotonic()
                while not os.path.exists(report):
                    self.assertIsNone(check.poll(), "the check ended before the game's window came up")
                    self.assertLess(time.monotonic() - waited, HANG_GUARD, "the game's window never came up")
                    time.sleep(0.1)
                with open(report) as file:
                    game, data = file.read().split()
                with open(pids) as file:
                    server = file.read().split()[-1]
                check.send_signal(stop)
                result = self.end_of(check)
                left = {name: pid for name, pid in (("the game", game), ("its X server", server)) if running(pid)}
                for pid in left.values():
                    os.kill(int(pid), signal.SIGKILL)
                self.assertFailsWith(result, f"stopped by {stop.name}")
                self.assertEqual(list(left), [], "left running")
                self.assertFalse(os.path.exists(data), "the game's data folder is left")

    def test_build_and_first_picture_limits(self):
        """The build has a limit of its own; the wait for the first picture
        counts from the game's start."""
        with self.subTest("a build longer than the picture's limit"):
            go = os.path.join(self.folder, "go")
            check = self.start_check(self.game_command("black", f"while [ ! -e {go} ]; do sleep 0.1; done"),
                                     "--timeout", "1")
            time.sleep(3)  # past the picture's limit, had it counted from the command's start
            self.assertIsNone(check.poll(), "the check ended while the game command built")
            open(go, "w").close()
            self.assertFailsWith(self.end_of(check), "no picture from the game within 1 s of the game's start")
        with self.subTest("a build that never ends"):
            self.assertFailsWith(self.run_check(self.game_command("draw", "sleep 600"), "--build-timeout", "1"),
                                 "the game did not start within 1 s of the game command's start")

    def test_failure_lines(self):
        """A failing command or game is told in one line, a death by a signal
        by the signal's name."""
        cases = {self.script("run-game.sh", "exit 1\n"):
                 "the game command ended with status 1 before the game showed a picture",
                 self.script("run-game.sh", "ulimit -c 0\nkill -ABRT $$\n"):
                 "the game command was killed by SIGABRT before the game showed a picture",
                 self.game_command("abort-on-close"): "the game was killed by SIGABRT when its window was asked to close"}
        for command, line in cases.items():
            with self.subTest(line):
                self.assertFailsWith(self.run_check(command), line)


if __name__ == "__main__":
    unittest.main()
