#!/usr/bin/env python3
"""CI's check of the game command, tools/check-game-command.py, run on game
commands and X servers that stand in for the real ones
(Tools_CheckGameCommandFakes.py): the release build of the game is not
needed; and tools/setup.sh, which each build runs first, on stand-ins for
dpkg-query and apt-get."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.join(HERE, "..", "..", "tools")
CHECK = os.path.join(TOOLS, "check-game-command.py")
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


def waits_on_lock(path):
    """True while a process waits to lock the file."""
    try:
        inode = str(os.stat(path).st_ino)
    except FileNotFoundError:
        return False
    with open("/proc/locks") as locks:
        return any("->" in line and line.split()[-3].rpartition(":")[2] == inode for line in locks)


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

    def wait_for_words(self, check, path):
        """The words a stand-in writes to the file, once it has, while the check still runs."""
        waited = time.monotonic()
        while not os.path.exists(path):
            self.assertIsNone(check.poll(), f"the check ended before {path} was written")
            self.assertLess(time.monotonic() - waited, HANG_GUARD, f"{path} was never written")
            time.sleep(0.1)
        with open(path) as file:
            return file.read().split()

    def end_left_running(self, **pids):
        """The names of those still running, which it ends."""
        left = [name for name, pid in pids.items() if running(pid)]
        for name in left:
            os.kill(int(pids[name]), signal.SIGKILL)
        return left

    def build_with_job(self, group_of_its_own=False):
        """A build that waits for a job it started, and the file the job's pid is written to."""
        job = os.path.join(self.folder, "job")
        build = f"sleep 600 &\necho $! > {job}.part\nmv {job}.part {job}\nwait\n"
        return (f"set -m\n{build}" if group_of_its_own else build), job

    def server_pid(self, pids):
        with open(pids) as file:
            return file.read().split()[-1]

    def build_held_until_go(self):
        """A build that writes its pid (the game's, once it runs it), the
        display's name and the data folder to a file, then waits for the file
        go; the two files."""
        ready, go = (os.path.join(self.folder, name) for name in ("ready", "go"))
        build = (f'echo "$$ $DISPLAY $XDG_DATA_HOME" > {ready}.part\nmv {ready}.part {ready}\n'
                 f"while [ ! -e {go} ]; do sleep 0.1; done\n")
        return build, ready, go

    def wait_for_game(self, check, pid):
        """Until the process runs the stand-in game, while the check still runs."""
        waited = time.monotonic()
        while os.path.realpath(f"/proc/{pid}/exe") != PYTHON:
            self.assertIsNone(check.poll(), "the check ended before the game started")
            self.assertLess(time.monotonic() - waited, HANG_GUARD, "the game never started")
            time.sleep(0.1)

    def assertDisplayGone(self, display):
        number = display.removeprefix(":")
        for path in (f"/tmp/.X11-unix/X{number}", f"/tmp/.X{number}-lock"):
            self.assertFalse(os.path.exists(path), f"the X server left {path}")

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
        so; stopped while all that ends, it still fails."""
        command = self.game_command("stop")
        for stop in (signal.SIGTERM, signal.SIGHUP, signal.SIGINT):
            with self.subTest(stop.name):
                pids = self.use_xvfb("plain")
                report = os.path.join(self.folder, f"report-{stop.name}")
                self.environment["FAKE_GAME_REPORT"] = report
                check = self.start_check(command)
                game, data = self.wait_for_words(check, report)
                server = self.server_pid(pids)
                check.send_signal(stop)
                result = self.end_of(check)
                left = self.end_left_running(game=game, server=server)
                self.assertFailsWith(result, f"stopped by {stop.name}")
                self.assertEqual(left, [], "left running")
                self.assertFalse(os.path.exists(data), "the game's data folder is left")
        with self.subTest("while everything ends after a game that passed"):
            signals = self.use_xvfb("slow-end")
            check = self.start_check(self.game_command("draw"))
            self.wait_for_words(check, signals + "-ending")
            check.send_signal(signal.SIGTERM)
            open(signals + "-go", "w").close()
            self.assertFailsWith(self.end_of(check), "stopped by SIGTERM")

    def test_killed_check_leaves_nothing(self):
        """Killed outright, the check still has the game (hung), what it
        started in a session of its own, and its X server ended and the data
        folder removed."""
        for modes in ("stop", "stop,escape"):
            with self.subTest(modes):
                pids = self.use_xvfb("plain")
                report = self.environment["FAKE_GAME_REPORT"] = os.path.join(self.folder, f"report-{modes}")
                check = self.start_check(self.game_command(modes))
                game, data, *escaped = self.wait_for_words(check, report)
                processes = dict(game=game, server=self.server_pid(pids), **dict(zip(["escaped"], escaped)))
                check.kill()
                check.wait()
                waited = time.monotonic()
                while ((any(map(running, processes.values())) or os.path.exists(data))
                       and time.monotonic() - waited < HANG_GUARD):
                    time.sleep(0.1)
                self.assertEqual(self.end_left_running(**processes), [], "left running")
                self.assertFalse(os.path.exists(data), "the game's data folder is left")

    def test_nothing_of_the_command_is_left(self):
        """Every process of the command ends with the check: a build's job in
        a process group of its own when the check is stopped, and whatever
        the game leaves behind, even in a session of its own, which fails a
        game that ended well."""
        with self.subTest("a build's job in a group of its own"):
            build, job = self.build_with_job(group_of_its_own=True)
            check = self.start_check(self.game_command("draw", build))
            [pid] = self.wait_for_words(check, job)
            check.send_signal(signal.SIGTERM)
            result = self.end_of(check)
            self.assertEqual(self.end_left_running(job=pid), [], "left running")
            self.assertFailsWith(result, "stopped by SIGTERM")
        for modes, line in (("draw,linger", "the game ended with status 0 but left running: python3 (pid {child})"),
                            ("draw,escape", "the game ended with status 0 but left running: python3 (pid {child})"),
                            ("abort-on-close,linger", "the game was killed by SIGABRT when its window was asked"
                                                      " to close")):
            with self.subTest(modes):
                report = self.environment["FAKE_GAME_REPORT"] = os.path.join(self.folder, f"report-{modes}")
                check = self.start_check(self.game_command(modes))
                _, data, child = self.wait_for_words(check, report)
                result = self.end_of(check)
                self.assertEqual(self.end_left_running(child=child), [], "left running")
                self.assertFailsWith(result, line.format(child=child))
                self.assertFalse(os.path.exists(data), "the game's data folder is left")

    def test_x_server_ending(self):
        """The check tells of its X server's end in a line of its own, having
        ended the command, while it builds, while it looks for the picture
        of a hung game, or while it waits for a game asked to close."""
        line = "the virtual display's X server was killed by SIGKILL"
        with self.subTest("during the build"):
            pids = self.use_xvfb("plain")
            build, job = self.build_with_job()
            check = self.start_check(self.game_command("draw", build), "--build-timeout", "30")
            [pid] = self.wait_for_words(check, job)
            os.kill(int(self.server_pid(pids)), signal.SIGKILL)
            result = self.end_of(check)
            self.assertEqual(self.end_left_running(job=pid), [], "left running")
            self.assertFailsWith(result, line)
        with self.subTest("looking for the picture"):
            pids = self.use_xvfb("plain")
            report = self.environment["FAKE_GAME_REPORT"] = os.path.join(self.folder, "report")
            check = self.start_check(self.game_command("black,stop"))
            game, data = self.wait_for_words(check, report)
            os.kill(int(self.server_pid(pids)), signal.SIGKILL)
            result = self.end_of(check)
            self.assertEqual(self.end_left_running(game=game), [], "left running")
            self.assertFailsWith(result, line)
            self.assertFalse(os.path.exists(data), "the game's data folder is left")
        with self.subTest("after the close request"):
            pids = self.use_xvfb("plain")
            report = self.environment["FAKE_GAME_REPORT"] = os.path.join(self.folder, "report-closing")
            check = self.start_check(self.game_command("hang-on-close"), "--quit-timeout", str(HANG_GUARD / 2))
            game, data = self.wait_for_words(check, report)
            self.wait_for_words(check, report + "-closing")
            os.kill(int(self.server_pid(pids)), signal.SIGKILL)
            result = self.end_of(check)
            self.assertEqual(self.end_left_running(game=game), [], "left running")
            self.assertFailsWith(result, line)
            self.assertFalse(os.path.exists(data), "the game's data folder is left")

    def test_display_that_stops_answering(self):
        """A display held by another client's grab, or whose server is
        stopped, holds up no wait of the check: the picture's limit still
        counts, a stop signal still acts, and nothing is left, the X
        server's socket and lock file neither."""
        with self.subTest("held by a grab from before the game's start"):
            pids = self.use_xvfb("plain")
            held = os.path.join(self.folder, "held")
            build = f"python3 {FAKES} grab {held} &\nwhile [ ! -e {held} ]; do sleep 0.1; done\n"
            check = self.start_check(self.game_command("black", build), "--timeout", "1")
            grabber, game, display, data = self.wait_for_words(check, held)
            result = self.end_of(check)
            left = self.end_left_running(grabber=grabber, game=game, server=self.server_pid(pids))
            self.assertFailsWith(result, "no picture from the game within 1 s of the game's start"
                                         " (the virtual display stopped answering)")
            self.assertEqual(left, [], "left running")
            self.assertFalse(os.path.exists(data), "the game's data folder is left")
            self.assertDisplayGone(display)
        with self.subTest("a stopped server"):
            pids = self.use_xvfb("plain")
            build, ready, go = self.build_held_until_go()
            check = self.start_check(self.game_command("black", build))
            game, display, data = self.wait_for_words(check, ready)
            server = self.server_pid(pids)
            os.kill(int(server), signal.SIGSTOP)
            open(go, "w").close()
            self.wait_for_game(check, game)
            time.sleep(1)  # not needed for the check to pass: only to let it wait on the display first
            check.send_signal(signal.SIGHUP)
            result = self.end_of(check)
            left = self.end_left_running(game=game, server=server)
            self.assertFailsWith(result, "stopped by SIGHUP")
            self.assertEqual(left, [], "left running")
            self.assertFalse(os.path.exists(data), "the game's data folder is left")
            self.assertDisplayGone(display)

    def test_limits(self):
        """The build, the first picture and the game's end after the close
        each have a limit; the picture's counts from the game's start."""
        with self.subTest("a build longer than the picture's limit"):
            self.assertPasses(self.run_check(self.game_command("draw", "sleep 5"), "--timeout", "4"))
        with self.subTest("a game that never draws"):
            self.assertFailsWith(self.run_check(self.game_command("black"), "--timeout", "1"),
                                 "no picture from the game within 1 s of the game's start")
        with self.subTest("a game that ignores the close"):
            self.assertFailsWith(self.run_check(self.game_command("stop"), "--quit-timeout", "1"),
                                 "the game still ran 1 s after its window was asked to close")
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

    def test_release_builds_one_at_a_time(self):
        """Two release builds of one tree started together both succeed: the
        second waits for the first (a stand-in cmake fails when another runs
        in its tree, as two real ones there do)."""
        tools = os.path.join(self.folder, "tree", "tools")
        os.makedirs(tools)
        for name in ("build-release.sh", "prefer-ninja.sh"):
            shutil.copy(os.path.join(TOOLS, name), tools)
        os.symlink(shutil.which("true"), os.path.join(tools, "setup.sh"))
        busy, go = (os.path.join(self.folder, name) for name in ("busy", "go"))
        cmake = self.script("cmake", f'mkdir {busy} 2>/dev/null || {{ echo "another cmake runs" >&2; exit 1; }}\n'
                                     f"for _ in $(seq 600); do [ -e {go} ] && break; sleep 0.1; done\n"
                                     f"rmdir {busy}\n")
        environment = dict(os.environ, PATH=os.path.dirname(cmake) + os.pathsep + os.environ["PATH"])

        def build():
            errors = self.enterContext(tempfile.TemporaryFile("w+"))
            process = subprocess.Popen([os.path.join(tools, "build-release.sh")], env=environment,
                                       stdout=subprocess.DEVNULL, stderr=errors)
            self.addCleanup(process.wait)
            self.addCleanup(process.kill)
            return process, errors

        def wait_until(done, process):
            waited = time.monotonic()
            while not done() and time.monotonic() - waited < HANG_GUARD:
                self.assertIsNone(process.poll(), "a build ended early")
                time.sleep(0.1)

        builds = [build()]
        wait_until(lambda: os.path.exists(busy), builds[0][0])
        builds.append(build())
        lock = os.path.join(self.folder, "tree", "build", "release.lock")
        wait_until(lambda: builds[1][0].poll() is not None or waits_on_lock(lock), builds[0][0])
        open(go, "w").close()
        for process, errors in builds:
            process.wait(HANG_GUARD)
            errors.seek(0)
            self.assertEqual(process.returncode, 0, errors.read())


class SetupTest(unittest.TestCase):
    """tools/setup.sh, run on stand-ins for dpkg-query, apt-get and id."""

    def setUp(self):
        folder = self.enterContext(tempfile.TemporaryDirectory(prefix="setup-test-"))
        self.tools, self.bin = os.path.join(folder, "tools"), os.path.join(folder, "bin")
        os.makedirs(self.tools)
        os.makedirs(self.bin)
        shutil.copy(os.path.join(TOOLS, "setup.sh"), self.tools)
        with open(os.path.join(self.tools, "packages.txt"), "w") as file:
            file.write("# wanted\ninstalled-a\n\nremoved-b\nunknown-c\ninstalled-d:amd64\n")
        self.dpkg, self.dpkg_calls, self.apt_calls = (os.path.join(folder, name)
                                                      for name in ("dpkg", "dpkg-calls", "apt-calls"))
        stand_ins = {"dpkg-query": f'exec python3 {FAKES} dpkg-query "$@"\n',
                     "apt-get": f'echo "$*" >> {self.apt_calls}\n',
                     "id": 'echo "$FAKE_UID"\n'}
        for name, text in stand_ins.items():
            path = os.path.join(self.bin, name)
            with open(path, "w") as file:
                file.write("#!/usr/bin/env bash\n" + text)
            os.chmod(path, 0o755)

    def setup(self, uid, statuses):
        with open(self.dpkg, "w") as file:
            file.write("".join(f"{package} {status}\n" for package, status in statuses.items()))
        environment = dict(os.environ, PATH=self.bin + os.pathsep + os.environ["PATH"], FAKE_UID=str(uid),
                           FAKE_DPKG=self.dpkg, FAKE_DPKG_CALLS=self.dpkg_calls)
        result = subprocess.run([os.path.join(self.tools, "setup.sh")], env=environment, capture_output=True,
                                text=True, timeout=HANG_GUARD)
        return result.returncode, result.stdout, result.stderr

    def lines(self, path):
        with open(path) as file:
            return file.read().splitlines()

    def test_one_query_for_all_packages(self):
        """dpkg is asked once for every wanted package; those it does not
        have installed, unknown ones too, are installed as root, or their
        command is given otherwise."""
        installed = "install ok installed"
        some_missing = {"installed-a:amd64": installed, "removed-b:amd64": "deinstall ok config-files",
                        "installed-d:amd64": installed}
        with self.subTest("not root"):
            self.assertEqual(self.setup(1000, some_missing),
                             (1, "", "Missing packages. Run as root:\n  apt-get update && apt-get install -y"
                                     " --no-install-recommends removed-b unknown-c\n"))
            self.assertEqual(len(self.lines(self.dpkg_calls)), 1)
            self.assertFalse(os.path.exists(self.apt_calls))
        os.remove(self.dpkg_calls)
        with self.subTest("root"):
            self.assertEqual(self.setup(0, some_missing), (0, "Installing: removed-b unknown-c\n", ""))
            self.assertEqual(len(self.lines(self.dpkg_calls)), 1)
            self.assertEqual(self.lines(self.apt_calls),
                             ["update -qq", "install -y -qq --no-install-recommends removed-b unknown-c"])
        os.remove(self.dpkg_calls)
        with self.subTest("everything installed"):
            everything = dict.fromkeys(("installed-a:amd64", "removed-b:all", "unknown-c:amd64", "installed-d:amd64"),
                                       installed)
            self.assertEqual(self.setup(1000, everything), (0, "", ""))
            self.assertEqual(len(self.lines(self.dpkg_calls)), 1)


if __name__ == "__main__":
    unittest.main()
