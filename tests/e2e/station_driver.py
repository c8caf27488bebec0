"""Drives the built dyestation through its windows, as a screen reader or a
test robot would: over the desktop accessibility interface (AT-SPI).

Each case runs under `dbus-run-session -- /usr/bin/python3 CASE` (CTest does
this) and starts a virtual display of its own (Xvfb picks a free display
number itself, so cases of several builds on one machine never meet).
Controls are found by their accessible description, which names the control
on its form ("Form3.Command9", "Form3.Text1(0)") in every language; a message
box is "Message" and its button "Message.OK".

Waits poll with generous limits: a loaded machine makes a case slower, never
red. A case that cannot run here raises Skip (exit code 77, which CTest
reports as skipped); a failed check raises CheckFailed (exit code 1).
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

SKIP_EXIT = 77
LOG_RECORD = 200  # bytes per event-log record, CP950 text, CR LF and blanks
SETTINGS_RECORD = 200  # bytes per field of JUCIsetting.txt
LANGUAGE_FIELD = 9  # 0 Traditional Chinese, 1 English, 2 Simplified Chinese


class Skip(Exception):
    """The case cannot run with this program or on this machine."""


class CheckFailed(Exception):
    """What the case expected did not happen."""


def check(condition, message):
    if not condition:
        raise CheckFailed(message)


def wait_for(condition, what, timeout=120.0, interval=0.25):
    """Polls condition() until it returns something true and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise CheckFailed(f"waited {timeout:.0f} s for {what}")
        time.sleep(interval)


def holds_for(condition, what, seconds, interval=0.25):
    """Checks that condition() stays true for `seconds` (what must not change)."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        check(condition(), f"{what} no longer holds")
        time.sleep(interval)


def start_display(size):
    """Starts Xvfb on a display it chooses, `size` ("WIDTHxHEIGHT") large, and
    points DISPLAY at it. The server
    must not reset when its last client leaves: the accessibility bus's brief
    visit would otherwise close the display under the program starting next."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               f"{size}x24", "-nolisten", "tcp", "-noreset"],
                              pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as announced:
        number = announced.readline().strip()
    if not number:
        server.wait()
        raise CheckFailed(f"Xvfb did not start (exit code {server.returncode})")
    os.environ["DISPLAY"] = f":{number}"
    return server


def start_accessibility_bus():
    """Starts the accessibility bus on this session and waits until it answers."""
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def answers():
        probe = subprocess.run(["dbus-send", "--session", "--dest=org.a11y.Bus", "--print-reply",
                                "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                               capture_output=True)
        return probe.returncode == 0

    wait_for(answers, "the accessibility bus", timeout=60)
    return launcher


def program_help(program):
    return subprocess.run([program, "--help"], capture_output=True, text=True,
                          timeout=60).stdout


def require_options(program, *options):
    """Skips the case when the program does not offer every option."""
    text = program_help(program)
    missing = [o for o in options if o not in text]
    if missing:
        raise Skip(f"{os.path.basename(program)} has no option {', '.join(missing)} "
                   "(see its --help)")


def set_language(workdir, language):
    """Writes the station's language into its settings file (read at start)."""
    with open(os.path.join(workdir, "JUCIsetting.txt"), "r+b") as f:
        f.seek(LANGUAGE_FIELD * SETTINGS_RECORD)
        f.write(str(language).encode().ljust(SETTINGS_RECORD))


def start_with_empty_queue(program, workdir):
    """Starts the station on the simulated machine with an empty queue, so that
    no job is taken (and no sample jobs are seeded) while a case works."""
    require_options(program, "--simulate")
    open(os.path.join(workdir, "START_DISPEN.txt"), "wb").close()
    return Station(program, workdir, "--simulate").start()


class Station:
    """The program under test, started in a working directory of its own."""

    def __init__(self, program, workdir, *args):
        self.program = program
        self.workdir = workdir
        self.args = [*args, "--workdir", workdir]
        self.process = None
        self.app = None

    def start(self):
        import pyatspi  # after the bus is up
        self.pyatspi = pyatspi
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
        self.output = open(os.path.join(self.workdir, "dyestation-output.txt"), "w")
        self.process = subprocess.Popen([self.program, *self.args], env=env,
                                        stdout=self.output, stderr=subprocess.STDOUT)
        self.app = wait_for(self._find_app, "dyestation on the accessibility bus", timeout=60)
        return self

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.process:
            self.output.close()

    def _find_app(self):
        check(self.process.poll() is None,
              f"dyestation ended with {self.process.returncode}: {self.program_output()}")
        desktop = self.pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "dyestation" and \
                    app.get_process_id() == self.process.pid:
                return app
        return None

    def program_output(self):
        self.output.flush()
        with open(self.output.name, errors="replace") as f:
            return f.read()[-2000:]

    # Windows and controls.

    def windows(self):
        """The program's top-level windows now on the bus."""
        try:
            self.app.clear_cache()
            return [w for w in self.app if w is not None]
        except Exception:  # the program is still registering on the bus: none yet
            return []

    def window(self, description):
        for w in self.windows():
            if w.description == description:
                return w
        return None

    def find(self, description, root=None):
        """The first control described as `description` under root (every window)."""
        for top in ([root] if root is not None else self.windows()):
            found = self._search(top, lambda a: a.description == description)
            if found is not None:
                return found
        return None

    def menu_entry(self, names):
        """The menu entry whose caption is one of `names`, in any window."""
        for top in self.windows():
            found = self._search(top, lambda a: a.getRoleName() in
                                 ("menu item", "check menu item") and a.name in names)
            if found is not None:
                return found
        return None

    def wait_control(self, description, root=None, timeout=120):
        return wait_for(lambda: self.find(description, root), f"the control {description}",
                        timeout)

    def _search(self, acc, match):
        try:
            if match(acc):
                return acc
            children = [acc.getChildAtIndex(i) for i in range(acc.childCount)]
        except Exception:  # a control that went away meanwhile
            return None
        for child in children:
            if child is not None:
                found = self._search(child, match)
                if found is not None:
                    return found
        return None

    def text(self, acc):
        """What a control shows: its text when it has one, else its name."""
        acc.clear_cache()
        try:
            t = acc.queryText()
            return t.getText(0, t.characterCount)
        except NotImplementedError:
            return acc.name

    def press(self, acc):
        action = acc.queryAction()
        for i in range(action.nActions):
            if action.getName(i) == "Press":
                action.doAction(i)
                return
        raise CheckFailed(f"{acc.description or acc.name} offers no Press action")

    def answer_input(self, text):
        """Types `text` into the input box on the screen and presses its OK."""
        box = wait_for(lambda: self.window("InputBox"), "the input box")
        # A box that hides what is typed shows its entry as "password text".
        entry = wait_for(
            lambda: self._search(box, lambda a: a.getRoleName() in ("text", "password text")),
            "the input box's entry")
        entry.queryEditableText().setTextContents(text)
        ok = wait_for(lambda: self._search(
            box, lambda a: a.getRoleName() == "push button" and a.name == "OK"), "the OK button")
        self.press(ok)
        wait_for(lambda: self.window("InputBox") is None, "the input box to close", timeout=60)

    # Message boxes.

    def messages(self):
        """The message boxes open now, each as (window, text)."""
        out = []
        for w in self.windows():
            if w.description == "Message":
                label = self._search(w, lambda a: a.getRoleName() == "label" and a.name)
                out.append((w, label.name if label is not None else ""))
        return out

    def acknowledge(self, box):
        """Presses OK on a message box and waits until the box has gone."""
        ok = self.find("Message.OK", box)
        check(ok is not None, "the message box has no OK button")
        path = box.path
        self.press(ok)
        wait_for(lambda: all(w.path != path for w, _ in self.messages()),
                 "the message box to close after OK", timeout=60)

    # Files the station wrote.

    def log_lines(self):
        """Every event-log line written so far, in order, date and time included."""
        lines = []
        for path in sorted(glob.glob(os.path.join(self.workdir, "LOG", "*log.txt"))):
            if os.path.basename(path).startswith("Write-"):
                continue
            with open(path, "rb") as f:
                data = f.read()
            for at in range(0, len(data), LOG_RECORD):
                line = data[at:at + LOG_RECORD].decode("cp950", errors="replace").strip()
                if line:
                    lines.append(line)
        return lines


def run_case(case, screen="1600x1200"):
    """Runs case(program, workdir) with a display of `screen` pixels, its bus
    and a fresh working directory, and exits with 0 (passed), 1 (failed) or 77 (skipped). The
    working directory is kept when the case fails."""
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} PATH-TO-DYESTATION", file=sys.stderr)
        sys.exit(2)
    program = os.path.abspath(sys.argv[1])
    workdir = tempfile.mkdtemp(prefix="dyestation-e2e-")
    display = launcher = None
    code = 1
    try:
        display = start_display(screen)
        launcher = start_accessibility_bus()
        case(program, workdir)
        code = 0
    except Skip as why:
        print(f"SKIPPED: {why}")
        code = SKIP_EXIT
    except CheckFailed as why:
        print(f"FAILED: {why}\nworking directory kept: {workdir}")
    except Exception:
        traceback.print_exc()
        print(f"working directory kept: {workdir}")
    finally:
        for helper in (launcher, display):
            if helper is not None:
                helper.terminate()
                helper.wait()
    if code != 1:
        shutil.rmtree(workdir, ignore_errors=True)
    sys.exit(code)
