#!/usr/bin/env python3
"""Random but valid input for the desktop program, from a seed that is printed first.

Starts Xvfb with openbox on it (unless the display is already up; --no-window-manager leaves
openbox out) and `vorpane` on it, then for the time asked sends keys, typed text, clicks, wheel
turns and drags inside the program's windows, menu commands by their shortcuts and letters, and
opens, creates, saves (into a scratch folder) and closes
documents. Every second the program is pinged through its single-instance socket: an empty
hand-over is answered by the event loop alone, so no answer within the hang limit is a hang.

A finding is a crash (an exit by a signal or with a failure status), a hang, or a sanitizer report
on the program's standard error; it ends the run with status 1 after printing the seed, the last
actions and the report. A clean exit (the monkey found "Salir") starts the program again, and
each exit is a leak check when the program was built with the sanitizers.

Run as root, the program runs as the user nobody, so that a file dialog wandering out of the
scratch folder cannot write anywhere else.

    tools/monkey/monkey.py --program build-asan/bin/vorpane --seconds 1800 [--seed N]
"""

import argparse
import collections
import os
import random
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from xserver import start_xvfb  # noqa: E402

HANG_LIMIT = 5.0  # seconds without an answer
SANITIZER_MARKS = (
    "ERROR: AddressSanitizer",
    "ERROR: LeakSanitizer",
    "runtime error:",
    "SUMMARY: UndefinedBehaviorSanitizer",
    "AddressSanitizer:DEADLYSIGNAL",
)
NOBODY = 65534
AS_NOBODY = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"]
SAFE_TEXT = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789     .,;:-+*()=<>!?'\"[]{}#%&_"
# Keys that edit, move, answer dialogs and reach commands; no key leaves the scratch folder.
PLAIN_KEYS = [
    "Tab", "shift+Tab", "Return", "Escape", "Up", "Down", "Left", "Right", "Page_Up", "Page_Down",
    "Home", "End", "BackSpace", "Delete", "space", "shift+Down", "shift+Right", "ctrl+Home",
    "ctrl+End", "Insert",
]
COMMAND_KEYS = [
    "ctrl+z", "ctrl+y", "ctrl+x", "ctrl+c", "ctrl+v", "ctrl+a", "ctrl+s", "ctrl+shift+s",
    "ctrl+n", "ctrl+o", "ctrl+p", "ctrl+f", "ctrl+g", "ctrl+plus", "ctrl+minus", "ctrl+0",
    "ctrl+Tab", "ctrl+shift+Tab", "ctrl+F4", "ctrl+space", "F2", "F3", "F4", "F5", "F6",
    "shift+F6", "F7", "F8", "F9", "F10", "F11", "F12", "shift+F10", "Menu",
]
MENU_LETTERS = "aehvrdsiuoncptlmgbfjk"
# Items' letters; none is Salir's (S in Archivo), which the monkey sends only when it means to.
ITEM_LETTERS = "acdefghilmnoprtuvx"
EXTENSIONS = [".inv", ".zho", ".vis", ".vhs", ".vsc"]


def profile_keys():
    """(section, name) of every setting the program declares, and the sections without keys."""
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "platform",
                        "profile_keys.h")
    try:
        text = open(path, encoding="utf-8").read()
    except OSError:
        return []
    sections = dict(re.findall(r'inline constexpr const char\* (k\w+) = "([^"]*)";', text))
    keys = [(sections.get(section, section), name)
            for section, name in re.findall(r'\{ (k\w+), "([^"]+)",', text)]
    for section in ("Output", "Edit"):
        for value in ("FontFace", "FontSize", "FontWeight", "FontItalic", "BkColour", "TxColour"):
            keys.append((section, value))
    keys += [("Recent File List", "File%d" % n) for n in range(1, 10)]
    keys += [("QuickInfo", "k%d" % n) for n in range(3)]
    return keys


def log(*parts):
    print("monkey:", *parts, flush=True)


class Finding(Exception):
    pass


class Display:
    """An X server for the run: Xvfb when the display is not up, with openbox on it unless asked
    not to, so that dialogs stay above their owner and the keyboard focus goes where a player's
    would."""

    def __init__(self, name, window_manager=True):
        self.name = name
        self.window_manager = window_manager
        self.processes = []
        self.managed = False
        self.home = None

    def __enter__(self):
        if self.name == "auto":
            self.start_any_server()
            return self
        number = self.name.lstrip(":")
        if not os.path.exists("/tmp/.X11-unix/X" + number):
            xvfb = subprocess.Popen(
                ["Xvfb", self.name, "-screen", "0", "1280x900x24", "-nolisten", "tcp", "-ac"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.processes.append(xvfb)
            deadline = time.time() + 10
            while not os.path.exists("/tmp/.X11-unix/X" + number):
                if time.time() > deadline or xvfb.poll() is not None:
                    self.__exit__()
                    raise SystemExit("monkey: Xvfb %s does not start" % self.name)
                time.sleep(0.05)
            # The socket is there before the server takes connections.
            while not self.answers():
                if time.time() > deadline or xvfb.poll() is not None:
                    self.__exit__()
                    raise SystemExit("monkey: Xvfb %s does not answer" % self.name)
                time.sleep(0.1)
            if self.window_manager:
                self.start_window_manager()
        else:
            self.managed = self.wm_running()
        return self

    def start_any_server(self):
        """Xvfb on a display it picks itself, so that monkeys started together never share one."""
        xvfb, name = start_xvfb()
        self.processes.append(xvfb)
        if not name:
            self.__exit__()
            raise SystemExit("monkey: Xvfb does not start")
        self.name = name
        if self.window_manager:
            self.start_window_manager()

    def answers(self):
        try:
            return subprocess.run(["xprop", "-display", self.name, "-root", "-len", "1",
                                   "_NET_SUPPORTING_WM_CHECK"], capture_output=True,
                                  timeout=5).returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False

    def wm_running(self):
        try:
            out = subprocess.run(["xprop", "-display", self.name, "-root",
                                  "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True,
                                 timeout=5).stdout
        except (OSError, subprocess.TimeoutExpired):
            return False
        return "window id" in out

    def start_window_manager(self):
        if not shutil.which("openbox"):
            raise SystemExit("monkey: openbox is not installed (--no-window-manager runs without)")
        # Its own home, so that no user's configuration or session changes the run.
        self.home = tempfile.mkdtemp(prefix="vorpane-monkey-wm-")
        env = dict(os.environ, DISPLAY=self.name, HOME=self.home, XDG_CONFIG_HOME=self.home,
                   XDG_CACHE_HOME=self.home)
        env.pop("SESSION_MANAGER", None)
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(wm)
        deadline = time.time() + 20
        while not self.wm_running():
            if time.time() > deadline or wm.poll() is not None:
                self.__exit__()
                raise SystemExit("monkey: openbox does not start on %s" % self.name)
            time.sleep(0.1)
        self.managed = True

    def __exit__(self, *exc):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.processes = []
        if self.home:
            shutil.rmtree(self.home, ignore_errors=True)


class Program:
    """One vorpane process in the scratch folder."""

    def __init__(self, args, scratch, env, files):
        self.scratch = scratch
        self.stderr_path = os.path.join(scratch, "stderr-%d.txt" % int(time.time() * 1000))
        command = [args.program, "--nosplash", "--settings", os.path.join(scratch, "settings.ini")]
        command += files
        if args.as_nobody:
            command = AS_NOBODY + command
        self.stderr = open(self.stderr_path, "wb")
        self.process = subprocess.Popen(command, cwd=os.path.join(scratch, "home"), env=env,
                                        stdin=subprocess.DEVNULL, stdout=self.stderr,
                                        stderr=self.stderr, start_new_session=True)
        # The program listens in its user's runtime folder, under a name made from the display.
        self.socket_path = os.path.join(env["XDG_RUNTIME_DIR"], "vorpane-" + re.sub(
            r"[^A-Za-z0-9_.-]", "_", env["DISPLAY"]))
        self.as_nobody = args.as_nobody

    def alive(self):
        return self.process.poll() is None

    def report(self):
        self.stderr.flush()
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def sanitizer_report(self):
        text = self.report()
        return text if any(mark in text for mark in SANITIZER_MARKS) else None

    def ping(self, limit=HANG_LIMIT):
        """True when the event loop answered an empty hand-over within the limit."""
        if not self.as_nobody:
            return self.knock(limit)
        # The program answers only its own user: the knock comes from a child that became nobody.
        pid = os.fork()
        if pid == 0:
            answered = False
            try:
                os.setgroups([])
                os.setgid(NOBODY)
                os.setuid(NOBODY)
                answered = self.knock(limit, in_child=True)
            finally:
                os._exit(0 if answered else 1)
        _, status = os.waitpid(pid, 0)
        return os.waitstatus_to_exitcode(status) == 0

    def knock(self, limit, in_child=False):
        body = struct.pack(">II", 0x56525031, 0)
        message = struct.pack(">I", len(body)) + body
        deadline = time.time() + limit
        while True:
            try:
                with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
                    s.settimeout(max(0.1, deadline - time.time()))
                    s.connect(self.socket_path)
                    s.sendall(message)
                    return s.recv(1) == b"+"
            except (OSError, socket.timeout):
                # A forked child cannot wait for its sibling; the parent looks after the knock.
                if time.time() >= deadline or (not in_child and not self.alive()):
                    return False
                time.sleep(0.1)

    def stacks(self):
        if not shutil.which("gdb"):
            return ""
        result = subprocess.run(["gdb", "-p", str(self.process.pid), "-batch", "-ex",
                                 "thread apply all bt 30"], capture_output=True, text=True,
                                timeout=60)
        return result.stdout

    def kill(self):
        if self.alive():
            os.killpg(self.process.pid, signal.SIGKILL)
            self.process.wait()
        self.stderr.close()


class Monkey:
    def __init__(self, args):
        self.args = args
        self.random = random.Random(args.seed)
        self.actions = collections.deque(maxlen=40)
        self.counts = collections.Counter()
        self.scratch = tempfile.mkdtemp(prefix="vorpane-monkey-")
        os.chmod(self.scratch, 0o777)
        for sub in ("home", "docs", "tmp", "bin", "config", "data", "run"):
            os.makedirs(os.path.join(self.scratch, sub), mode=0o777)
            os.chmod(os.path.join(self.scratch, sub), 0o777 if sub != "run" else 0o700)
        if args.as_nobody:
            os.chown(os.path.join(self.scratch, "run"), NOBODY, NOBODY)
        self.documents = []
        examples = os.path.join(args.data, "examples")
        for name in sorted(os.listdir(examples)) if os.path.isdir(examples) else []:
            if os.path.splitext(name)[1] in EXTENSIONS:
                target = os.path.join(self.scratch, "docs", name)
                shutil.copy(os.path.join(examples, name), target)
                os.chmod(target, 0o666)
                self.documents.append(target)
        for name in sorted(os.listdir(args.data)):
            if os.path.splitext(name)[1] in EXTENSIONS:
                target = os.path.join(self.scratch, "docs", name)
                shutil.copy(os.path.join(args.data, name), target)
                os.chmod(target, 0o666)
                self.documents.append(target)
        # Nothing leaves the machine: the browser and the mail program are stand-ins.
        for tool in ("xdg-open", "xdg-email", "lp", "lpr"):
            stub = os.path.join(self.scratch, "bin", tool)
            with open(stub, "w") as f:
                f.write("#!/bin/sh\nexit 0\n")
            os.chmod(stub, 0o755)
        suppressions = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                    "scripts", "lsan.supp")
        self.env = {
            "PATH": os.path.join(self.scratch, "bin") + ":/usr/local/bin:/usr/bin:/bin",
            "HOME": os.path.join(self.scratch, "home"),
            "USER": "monkey",
            "DISPLAY": args.display,
            "TMPDIR": os.path.join(self.scratch, "tmp"),
            "XDG_CONFIG_HOME": os.path.join(self.scratch, "config"),
            "XDG_DATA_HOME": os.path.join(self.scratch, "data"),
            "XDG_RUNTIME_DIR": os.path.join(self.scratch, "run"),
            "VORPANE_DATA": args.data,
            "QT_QPA_PLATFORM": "xcb",
            "LANG": "C.UTF-8",
            "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=0:handle_abort=1:detect_stack_use_after_return=0",
            "LSAN_OPTIONS": "suppressions=%s:print_suppressions=0" % os.path.abspath(suppressions),
            "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
        }
        self.program = None
        self.starts = 0
        self.keys = profile_keys()

    # --- xdotool ---------------------------------------------------------------------------
    def xdo(self, *words, timeout=HANG_LIMIT):
        try:
            result = subprocess.run(["xdotool"] + [str(w) for w in words], env=self.env,
                                    capture_output=True, text=True, timeout=timeout)
            return result.stdout
        except subprocess.TimeoutExpired:
            return ""

    def window_list(self):
        """(id, (x, y, w, h), title) of the program's visible windows, the newest last."""
        # --all: without it a window matching any one condition would do, and the empty name
        # matches every window, a window manager's frames too.
        out = self.xdo("search", "--all", "--onlyvisible", "--pid", self.program.process.pid
                       if os.geteuid() != 0 else self.child_pid(), "--name", "")
        found = []
        for wid in sorted(out.split(), key=int):
            geometry = self.geometry(wid)
            if geometry and geometry[2] > 20 and geometry[3] > 20:
                found.append((wid, geometry, self.xdo("getwindowname", wid).strip()))
        return found

    def geometry(self, wid):
        """Where a window is on the screen. xwininfo, since xdotool adds a window manager's frame
        to a framed window's position a second time."""
        try:
            out = subprocess.run(["xwininfo", "-id", str(wid)], env=self.env, capture_output=True,
                                 text=True, timeout=HANG_LIMIT).stdout
        except subprocess.TimeoutExpired:
            return None
        values = dict(re.findall(r"^\s*(Absolute upper-left X|Absolute upper-left Y|Width|Height):"
                                 r"\s*(-?\d+)", out, re.M))
        try:
            return tuple(int(values[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                                  "Width", "Height"))
        except KeyError:
            return None

    def windows(self):
        """Geometry (x, y, w, h) of the program's visible windows, the newest last."""
        return [geometry for _, geometry, _ in self.window_list()]

    def raise_dialog(self, listed=None):
        """Brings the newest window other than the main one to the top with the keyboard focus.
        Without a window manager nothing keeps a dialog above its owner: once the main window
        is raised over a modal dialog, no click or key reaches either."""
        listed = self.window_list() if listed is None else listed
        others = [wid for wid, _, title in listed if not title.startswith("Vorpane")]
        # A floating info window takes no keys; the dialog under it does.
        dialogs = [wid for wid in others if not self.is_utility(wid)] or others
        if dialogs:
            self.act("raise", dialogs[-1])
            if self.args.managed:
                # Through the window manager, which keeps its own idea of the active window.
                self.xdo("windowactivate", dialogs[-1])
            else:
                self.xdo("windowraise", dialogs[-1])
                self.xdo("windowfocus", dialogs[-1])
        return others

    def is_utility(self, wid):
        try:
            out = subprocess.run(["xprop", "-display", self.args.display, "-id", str(wid), "_NET_WM_WINDOW_TYPE"],
                                 capture_output=True, text=True, timeout=HANG_LIMIT).stdout
        except (OSError, subprocess.TimeoutExpired):
            return False
        return "_NET_WM_WINDOW_TYPE_UTILITY" in out

    def screenshot(self, what):
        """The whole screen as a PNG in the scratch folder, when ImageMagick is there."""
        if not shutil.which("import"):
            return None
        path = os.path.join(self.scratch, "%s-%d.png" % (what, int(time.time())))
        try:
            subprocess.run(["import", "-display", self.args.display, "-window", "root", path],
                           capture_output=True, timeout=20)
        except subprocess.TimeoutExpired:
            return None
        return path if os.path.exists(path) else None

    def child_pid(self):
        # setpriv execs the program in place, so the pid is the program's.
        return self.program.process.pid

    # --- actions ---------------------------------------------------------------------------
    def act(self, name, *words):
        self.actions.append(name + (" " + " ".join(str(w) for w in words) if words else ""))
        self.counts[name] += 1

    def key(self, key):
        self.act("key", key)
        self.xdo("key", "--clearmodifiers", key)

    def type_text(self, text):
        self.act("type", repr(text))
        self.xdo("type", "--delay", "8", "--", text)

    def random_text(self, low=1, high=12):
        return "".join(self.random.choice(SAFE_TEXT) for _ in range(self.random.randint(low, high)))

    def click(self):
        windows = self.windows()
        if not windows:
            return
        x, y, w, h = windows[-1] if self.random.random() < 0.7 else self.random.choice(windows)
        px, py = x + self.random.randrange(w), y + self.random.randrange(h)
        button = self.random.choice([1, 1, 1, 1, 1, 3, 4, 5, 2])
        repeat = 2 if button == 1 and self.random.random() < 0.2 else 1
        self.act("click", px, py, "button", button, "x", repeat)
        self.xdo("mousemove", px, py, "click", "--repeat", repeat, "--delay", "60", button)

    def drag(self):
        windows = self.windows()
        if not windows:
            return
        x, y, w, h = windows[-1]
        x1, y1 = x + self.random.randrange(w), y + self.random.randrange(h)
        x2, y2 = x + self.random.randrange(w), y + self.random.randrange(h)
        self.act("drag", x1, y1, x2, y2)
        self.xdo("mousemove", x1, y1, "mousedown", 1, "sleep", 0.3, "mousemove", x2, y2,
                 "sleep", 0.1, "mouseup", 1)

    def main_window(self):
        listed = self.window_list()
        for _, geometry, title in listed:
            if title.startswith("Vorpane"):
                return geometry
        return max((g for _, g, _ in listed), key=lambda g: g[2] * g[3]) if listed else None

    def menu(self):
        # Under a window manager the menus open by their letters as a player's would: Alt and the
        # menu's letter, then an item's letter or the arrows. Without one the Alt that xdotool
        # sends does not reach Qt as a modifier, so menus open mostly by a click on the menu bar.
        main = self.main_window()
        by_click = 0.3 if self.args.managed else 0.8
        if main and self.random.random() < by_click:
            x, y = main[0] + self.random.randrange(10, min(340, main[2])), main[1] + 8
            self.act("menu bar", x, y)
            self.xdo("mousemove", x, y, "click", 1)
        else:
            self.key("alt+" + self.random.choice(MENU_LETTERS))
        if self.args.managed and self.random.random() < 0.5:
            time.sleep(0.1)
            self.key(self.random.choice(ITEM_LETTERS))
            return
        for _ in range(self.random.randint(0, 8)):
            self.key(self.random.choice(["Down", "Down", "Down", "Right", "Left", "Up"]))
        self.key(self.random.choice(["Return", "Return", "Escape"]))

    def save_as(self):
        self.key("ctrl+shift+s")
        time.sleep(0.4)
        name = "m%d%s" % (self.random.randrange(1000), self.random.choice(EXTENSIONS + [""]))
        self.key("ctrl+a")
        self.type_text(os.path.join(self.scratch, "home", name))
        self.key("Return")

    def open_file(self):
        self.key("ctrl+o")
        time.sleep(0.4)
        self.key("ctrl+a")
        self.type_text(self.random.choice(self.documents) if self.documents else "nada.inv")
        self.key("Return")

    def new_document(self):
        self.key("ctrl+n")
        time.sleep(0.3)
        for _ in range(self.random.randint(0, 6)):
            self.key(self.random.choice(["Tab", "Down", "Up", "ctrl+Tab", "Right", "space"]))
        self.key(self.random.choice(["Return", "Return", "Return", "Escape"]))

    def step(self):
        r = self.random.random()
        if r < 0.22:
            self.type_text(self.random_text())
        elif r < 0.42:
            self.key(self.random.choice(PLAIN_KEYS))
        elif r < 0.55:
            self.key(self.random.choice(COMMAND_KEYS))
        elif r < 0.72:
            self.click()
        elif r < 0.76:
            self.drag()
        elif r < 0.85:
            self.menu()
        elif r < 0.89:
            self.new_document()
        elif r < 0.93:
            self.open_file()
        elif r < 0.96:
            self.save_as()
        elif r < 0.975:
            self.key(self.random.choice(["Escape", "Return", "alt+n", "alt+s", "n", "s"]))
        elif r < 0.995:
            self.raise_dialog()
        else:
            self.act("salir")
            self.ask_to_quit()
        time.sleep(self.random.uniform(0.02, 0.15))

    # --- the run ---------------------------------------------------------------------------
    def garble_settings(self):
        """A settings file with odd values for the program's own keys, and sometimes broken lines."""
        path = os.path.join(self.scratch, "settings.ini")
        values = ["-1", "0", "1", "2147483647", "-2147483648", "99999999999", "abc", "", "@ByteArray(\\0)",
                  "@Rect(1 2 3)", "AAAA", "/nada/x.inv", os.path.join(self.scratch, "docs")]
        by_section = collections.defaultdict(list)
        for section, name in self.keys:
            if self.random.random() < 0.4:
                # The program lower-cases the names it stores.
                by_section[section.lower()].append("%s=%s" % (name.lower().replace(" ", "%20"),
                                                              self.random.choice(values)))
        lines = []
        for section, entries in by_section.items():
            lines.append("[%s]" % section.replace(" ", "%20"))
            lines += entries
        if self.random.random() < 0.3:
            lines.insert(self.random.randrange(len(lines) + 1), "[roto")
        data = "\n".join(lines).encode("latin-1", "replace")
        if self.random.random() < 0.2:
            data += bytes(self.random.randrange(256) for _ in range(200))
        with open(path, "wb") as f:
            f.write(data)
        os.chmod(path, 0o666)
        self.act("garbled settings", len(data), "bytes")

    def start(self):
        if self.random.random() < 0.3:
            self.garble_settings()
        files = self.random.sample(self.documents, k=min(len(self.documents), self.random.randint(0, 3)))
        self.program = Program(self.args, self.scratch, self.env, files)
        self.starts += 1
        log("start %d (pid %d) with %d files" % (self.starts, self.program.process.pid, len(files)))
        deadline = time.time() + 60
        while not self.program.ping(limit=1.0):
            self.check_exit()
            if time.time() > deadline:
                raise Finding("the program does not answer after its start")

    def check_exit(self):
        if self.program.alive():
            report = self.program.sanitizer_report()
            if report:
                # The sanitizer ends the program once its report is written out.
                try:
                    self.program.process.wait(timeout=60)
                except subprocess.TimeoutExpired:
                    pass
                raise Finding("sanitizer report while running:\n" + self.program.report())
            return False
        status = self.program.process.returncode
        report = self.program.sanitizer_report()
        if report:
            raise Finding("sanitizer report at exit %d:\n%s" % (status, report))
        if status != 0:
            raise Finding("exit status %d (a negative one is the signal)\n%s" % (status, self.program.report()[-4000:]))
        return True

    def ask_to_quit(self):
        """Salir: from the Archivo menu (by its letters, or its last item) or by Ctrl+Q."""
        main = self.main_window()
        r = self.random.random()
        if self.args.managed and r < 0.35:
            self.xdo("key", "--clearmodifiers", "alt+a")
            time.sleep(0.3)
            self.xdo("key", "s")
        elif main and r < 0.65:
            self.xdo("mousemove", main[0] + 47, main[1] + 8, "click", 1)
            time.sleep(0.3)
            self.xdo("key", "Up")
            self.xdo("key", "Return")
        else:
            self.xdo("keydown", "ctrl", "key", "q", "keyup", "ctrl")

    def quit(self):
        """Ends the program as a user would, answering No to every save question."""
        # The break key first: a script still running takes no other input.
        self.xdo("keydown", "ctrl", "key", "space", "keyup", "ctrl")
        for _ in range(6):
            self.xdo("key", "Escape")
            time.sleep(0.05)
        self.ask_to_quit()
        deadline = time.time() + 60
        stuck = 0
        last = None
        while self.program.alive() and time.time() < deadline:
            time.sleep(0.4)
            # A message box takes its buttons' letters without Alt: N is No.
            self.xdo("key", "n")
            # Each document asks in a box of its own: while new boxes come, Salir is on its way,
            # and an Escape would cancel it and start the questions over.
            others = [wid for wid, _, title in self.window_list() if not title.startswith("Vorpane -")]
            stuck = stuck + 1 if others == last else 0
            last = others
            if stuck >= 8:
                stuck = 0
                # Something else was in the way (a dialog, an open menu): out of it and again.
                # Without a window manager a dialog may lack the keyboard focus until clicked.
                for _ in range(len(self.raise_dialog()) + 1):
                    self.xdo("key", "Escape")
                    self.raise_dialog()
                self.ask_to_quit()
        if self.program.alive():
            shot = self.screenshot("not-ended")
            focus = self.xdo("getwindowfocus").strip()
            active = self.xdo("getactivewindow").strip()
            log("did not end after Salir; killed" + (" (screen in %s)" % shot if shot else ""),
                "windows", self.window_list(), "focus", focus, self.xdo("getwindowname", focus).strip() if focus else "",
                "active", active)
            stacks = self.program.stacks()
            if stacks:
                path = os.path.join(self.scratch, "not-ended-stacks.txt")
                with open(path, "w") as out:
                    out.write(stacks)
                log("its threads' stacks in", path)
            self.program.kill()
            return
        self.check_exit()
        log("ended after Salir in %.1f s" % (time.time() + 60 - deadline))

    def run(self):
        log("seed %d" % self.args.seed)
        log("scratch", self.scratch)
        end = time.time() + self.args.seconds
        steps = 0
        try:
            self.start()
            last_ping = time.time()
            while time.time() < end:
                self.step()
                steps += 1
                if self.check_exit():
                    log("clean exit after %d steps; starting again" % steps)
                    self.start()
                if time.time() - last_ping > 1.0:
                    started = time.time()
                    if not self.program.ping():
                        if not self.check_exit():
                            raise Finding("hang: no answer for %.1f s\n%s" % (time.time() - started,
                                                                               self.program.stacks()))
                    last_ping = time.time()
            self.quit()
        except Finding as finding:
            log("FINDING with seed %d after %d steps: %s" % (self.args.seed, steps, finding))
            log("last actions:\n  " + "\n  ".join(self.actions))
            if self.program:
                self.program.kill()
            return 1
        finally:
            if self.program:
                self.program.kill()
        log("clean: %d steps, %d starts, %s" % (steps, self.starts, dict(self.counts)))
        if not self.args.keep:
            shutil.rmtree(self.scratch, ignore_errors=True)
        return 0


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", default=os.path.join(here, "..", "..", "build-asan", "bin", "vorpane"))
    parser.add_argument("--data", help="the program folder (default: the program's own folder)")
    parser.add_argument("--seconds", type=float, default=120)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--display", default="auto", help="an X display, started when not up; auto: a free one")
    parser.add_argument("--keep", action="store_true", help="keep the scratch folder")
    parser.add_argument("--no-window-manager", dest="window_manager", action="store_false",
                        help="do not start openbox on an X server the monkey starts")
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    if args.data is None:
        args.data = os.path.dirname(args.program)
    args.data = os.path.abspath(args.data)
    if args.seed is None:
        args.seed = random.SystemRandom().randrange(1, 2**31)
    if not os.access(args.program, os.X_OK):
        raise SystemExit("monkey: no program at " + args.program)
    # As root the program runs as nobody, when nobody can reach it and its data (a checkout under
    # a private home folder cannot be); otherwise as root.
    args.as_nobody = os.geteuid() == 0 and all(
        subprocess.run(AS_NOBODY + ["test", flag, path], capture_output=True).returncode == 0
        for flag, path in (("-x", args.program), ("-r", os.path.join(args.data, "default.rul"))))
    if os.geteuid() == 0 and not args.as_nobody:
        log("the program is out of nobody's reach; it runs as root")
    with Display(args.display, args.window_manager) as display:
        args.display = display.name
        args.managed = display.managed
        return Monkey(args).run()


if __name__ == "__main__":
    sys.exit(main())
