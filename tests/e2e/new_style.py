#!/usr/bin/env python3
"""A player's own sheet style, end to end on a desktop with a window manager.

Installs the build into a scratch prefix whose data folder nobody may write, starts the installed
program as an ordinary user (as the user nobody when run as root) with fresh home, configuration
and data folders and a copy of an example investigator, then by keyboard, as a player would:
Archivo > Nueva hoja a partir de..., picks clasica.vis, names the copy, changes it in the script
editor (a member completed from the editor's list, the change seen in the live preview before
saving) and saves it, goes back to the investigator through the Ventana menu, chooses the new
style in the style box, saves the investigator and leaves by Salir, answering No to any question.
The screen must show the added band once the investigator takes the style. Then it checks from outside
that the style is in the user's data folder and holds the change, the installed folder is
untouched, the investigator names the style and the installed vorpane-cli draws it without error.

Exit status 0 on success, 1 on a failure (with the screenshots of every step, when ImageMagick
is there, kept and their folder printed), 77 when Xvfb, openbox or xdotool is missing.

    tests/e2e/new_style.py --build build
"""

import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from xserver import start_xvfb  # noqa: E402

SKIP = 77
NOBODY = 65534
AS_NOBODY = ["setpriv", "--reuid=%d" % NOBODY, "--regid=%d" % NOBODY, "--clear-groups"]
WHOLE_RUN = 40.0  # seconds for everything after the install
WAIT = 8.0  # seconds for one thing to appear
STYLE = "mia"
# The line the player adds to the copy: a band over the title in a colour no other part of the
# screen has (the same in either byte order), so that the screen shows which style drew a page.
# Integers only, so that no `.` but the member access offers completion.
ADDED_LINE = "sheet.fillrectangle(120, 2, 202, 6, 0xFF00FF);"
BAND = b"\xff\x00\xff"
BAND_PIXELS = 200  # the band is thousands of pixels on a page of any readable size


class Failure(Exception):
    pass


def log(*parts):
    print("new_style:", *parts, flush=True)


class Run:
    def __init__(self, args):
        self.args = args
        self.deadline = None
        self.as_nobody = os.geteuid() == 0
        self.scratch = tempfile.mkdtemp(prefix="vorpane-e2e-")
        os.chmod(self.scratch, 0o755)
        self.shots = os.path.join(self.scratch, "shots")
        os.makedirs(self.shots)
        self.step_number = 0
        self.processes = []
        self.program = None

    # --- the scratch tree -------------------------------------------------------------------
    def user_folder(self, name, mode=0o700):
        path = os.path.join(self.scratch, name)
        os.makedirs(path, mode=mode)
        os.chmod(path, mode)
        if self.as_nobody:
            os.chown(path, NOBODY, NOBODY)
        return path

    def install(self):
        self.prefix = os.path.join(self.scratch, "usr")
        result = subprocess.run([self.args.cmake, "--install", self.args.build, "--prefix", self.prefix],
                                capture_output=True, text=True)
        if result.returncode != 0:
            raise Failure("cmake --install failed:\n" + result.stdout + result.stderr)
        self.program_path = os.path.join(self.prefix, "bin", "vorpane")
        self.data = os.path.join(self.prefix, "share", "vorpane")
        for required in (self.program_path, os.path.join(self.data, "clasica.vis")):
            if not os.path.exists(required):
                raise Failure("not installed: " + required)
        # What a package leaves: a data folder its user cannot write.
        subprocess.run(["chmod", "-R", "a-w", self.data], check=True)
        self.data_before = self.snapshot(self.data)

    @staticmethod
    def snapshot(folder):
        seen = {}
        for root, dirs, files in os.walk(folder):
            dirs.sort()
            for name in sorted(dirs + files):
                path = os.path.join(root, name)
                info = os.lstat(path)
                digest = ""
                if os.path.isfile(path):
                    with open(path, "rb") as f:
                        digest = hashlib.sha256(f.read()).hexdigest()
                seen[os.path.relpath(path, folder)] = (info.st_mode, info.st_mtime_ns, digest)
        return seen

    def prepare_user(self):
        self.home = self.user_folder("home")
        self.config = self.user_folder("config")
        self.user_data = self.user_folder("data")
        self.runtime = self.user_folder("run")
        self.settings = os.path.join(self.config, "settings.ini")
        # The tip of the day stays away: its panel would cover the windows.
        with open(self.settings, "w") as f:
            f.write("[tips]\nstartup=1\n")
        self.investigator = os.path.join(self.home, "detective_1890.inv")
        shutil.copy(os.path.join(self.data, "examples", "detective_1890.inv"), self.investigator)
        os.chmod(self.investigator, 0o644)
        if self.as_nobody:
            for path in (self.settings, self.investigator):
                os.chown(path, NOBODY, NOBODY)

    # --- the display ------------------------------------------------------------------------
    def start_display(self):
        xvfb, self.display = start_xvfb()
        self.processes.append(xvfb)
        if not self.display:
            raise Failure("Xvfb does not start")
        wm_home = os.path.join(self.scratch, "wm")
        os.makedirs(wm_home)
        wm_env = dict(self.x_env(), HOME=wm_home, XDG_CONFIG_HOME=wm_home, XDG_CACHE_HOME=wm_home)
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=wm_env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(wm)
        self.wait_for("openbox to manage the screen", self.wm_running)

    def x_env(self):
        return {"PATH": "/usr/local/bin:/usr/bin:/bin", "DISPLAY": self.display}

    def wm_running(self):
        out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.x_env(),
                             capture_output=True, text=True, timeout=5).stdout
        return "window id" in out

    # --- waiting and looking ----------------------------------------------------------------
    def wait_for(self, what, condition, limit=WAIT):
        end = min(time.time() + limit, self.deadline or float("inf"))
        while True:
            value = condition()
            if value:
                return value
            # The program may have ended right after the condition was looked at.
            if self.program and self.program.poll() is not None and not condition():
                raise Failure("the program ended (status %d) while waiting for %s"
                              % (self.program.returncode, what))
            if time.time() > end:
                shown = [title for _, title in self.windows()] if self.program else []
                raise Failure("waited in vain for %s; the program's windows: %s" % (what, shown))
            time.sleep(0.05)

    def xdo(self, *words):
        result = subprocess.run(["xdotool"] + [str(w) for w in words], env=self.x_env(),
                                capture_output=True, text=True, timeout=10)
        return result.stdout

    def key(self, *keys):
        for key in keys:
            self.xdo("key", "--clearmodifiers", key)

    def drop_down(self, key, what):
        """Opens a menu or a list by its key and waits until it shows, so the next keys reach it."""
        before = len(self.windows())
        self.key(key)
        self.wait_for(what, lambda: len(self.windows()) > before)

    def type_text(self, text):
        self.xdo("type", "--delay", "4", "--", text)

    def windows(self):
        """(id, title) of the program's visible windows, the newest last."""
        out = self.xdo("search", "--all", "--onlyvisible", "--pid", self.program.pid, "--name", "")
        found = []
        for wid in sorted(out.split(), key=int):
            if self.size(wid) > 400:
                found.append((wid, self.xdo("getwindowname", wid).strip()))
        return found

    def size(self, wid):
        out = subprocess.run(["xwininfo", "-id", str(wid)], env=self.x_env(), capture_output=True,
                             text=True, timeout=5).stdout
        values = dict(re.findall(r"^\s*(Width|Height):\s*(\d+)", out, re.M))
        return int(values.get("Width", 0)) * int(values.get("Height", 0))

    def main_title(self):
        for _, title in self.windows():
            if title.startswith("Vorpane"):
                return title
        return ""

    def dialog(self, title):
        """The program's visible window of that title, active, or None."""
        for wid, shown in self.windows():
            if shown == title:
                if self.xdo("getactivewindow").strip() != wid:
                    self.xdo("windowactivate", wid)
                return wid
        return None

    def file_holding(self, path, text):
        try:
            with open(path, "rb") as f:
                return text.encode("cp1252") in f.read()
        except OSError:
            return False

    def band_pixels(self):
        """How many pixels of the screen have the added band's colour; None without ImageMagick."""
        if not shutil.which("import"):
            return None
        shot = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8",
                               "ppm:-"], capture_output=True, timeout=20).stdout
        # P6, width, height, maximum, then the pixels.
        header = re.match(rb"P6\s+\d+\s+\d+\s+255\s", shot)
        if not header:
            raise Failure("the screenshot is no 8-bit PPM")
        return shot[header.end():].count(BAND)

    def wait_for_band(self, what):
        if self.band_pixels() is None:
            log("no ImageMagick: not looking for", what)
            return
        self.wait_for(what, lambda: self.band_pixels() > BAND_PIXELS)

    def step(self, what):
        """A screenshot of the screen as the step starts, named after it."""
        self.step_number += 1
        log("step %d: %s" % (self.step_number, what))
        if not shutil.which("import"):
            return
        name = "%02d-%s.png" % (self.step_number, re.sub(r"[^a-z0-9]+", "-", what.lower()).strip("-"))
        subprocess.run(["import", "-display", self.display, "-window", "root",
                        os.path.join(self.shots, name)], capture_output=True, timeout=20)

    # --- the player -------------------------------------------------------------------------
    def start_program(self):
        env = dict(self.x_env(), HOME=self.home, USER="player", XDG_CONFIG_HOME=self.config,
                   XDG_DATA_HOME=self.user_data, XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
                   XDG_RUNTIME_DIR=self.runtime, QT_QPA_PLATFORM="xcb", LANG="C.UTF-8",
                   TMPDIR=self.home)
        command = [self.program_path, "--nosplash", "--settings", self.settings, self.investigator]
        if self.as_nobody:
            command = AS_NOBODY + command
        self.stderr_path = os.path.join(self.scratch, "stderr.txt")
        self.stderr = open(self.stderr_path, "wb")
        # setpriv execs the program in place: the pid is the program's.
        self.program = subprocess.Popen(command, cwd=self.home, env=env, stdin=subprocess.DEVNULL,
                                        stdout=self.stderr, stderr=self.stderr)
        self.wait_for("the investigator's window",
                      lambda: self.main_title().startswith("Vorpane - detective_1890"), limit=20)
        if self.band_pixels():
            raise Failure("the screen shows the added band's colour before the style exists")

    def new_style(self):
        self.step("Archivo, Nueva hoja a partir de")
        self.drop_down("alt+a", "the Archivo menu")
        self.key("h")
        self.wait_for("the style list", lambda: self.dialog("Nueva hoja a partir de..."))
        self.step("pick clasica.vis")
        self.type_text("clasica")
        self.key("Return")
        self.wait_for("the name prompt", lambda: self.dialog("Prompt"))
        self.step("name the copy")
        self.type_text(STYLE)
        self.key("Return")
        self.style = os.path.join(self.user_data, "vorpane", STYLE + ".vis")
        self.wait_for(self.style, lambda: os.path.isfile(self.style))
        self.wait_for("the new style in the script editor",
                      lambda: self.main_title().startswith("Vorpane - %s.vis" % STYLE))
        with open(os.path.join(self.data, "clasica.vis"), "rb") as f:
            clasica = f.read()
        with open(self.style, "rb") as f:
            if f.read() != clasica:
                raise Failure("the new style does not start as a copy of clasica.vis")
        self.clasica = clasica

    def change_style(self):
        self.step("change the copy")
        # A line of its own at the end, where no block or indentation is open.
        self.key("ctrl+End", "Return")
        # "sheet." offers the object's members, "fillr" leaves fillrectangle alone in the list and
        # Return takes it.
        self.type_text("sheet")
        self.drop_down("period", "the completion list after the dot")
        self.type_text("fillr")
        self.step("completion offered")
        self.key("Return")
        self.wait_for("the completion list to close", lambda: len(self.windows()) == 1)
        self.type_text(ADDED_LINE[len("sheet.fillrectangle"):])
        self.wait_for("the edit to mark the style changed", lambda: self.main_title().endswith("*"))
        # The live preview beside the text draws the page of the unsaved text.
        self.wait_for_band("the band in the live preview before saving")
        self.step("save the style")
        self.key("ctrl+s")
        self.wait_for("the change in " + self.style, lambda: self.file_holding(self.style, ADDED_LINE))
        self.wait_for("the saved style's title", lambda: not self.main_title().endswith("*"))

    def choose_style(self):
        self.step("Ventana, the investigator")
        self.drop_down("alt+n", "the Ventana menu")
        self.key("1")
        self.wait_for("the investigator's window",
                      lambda: self.main_title().startswith("Vorpane - detective_1890"))
        self.step("F4, the style box")
        self.drop_down("F4", "the style list")
        self.type_text(STYLE)
        self.step("the new style in the list")
        self.key("Return")
        # Choosing a style leaves no modified mark: the closed list is the sign it was taken.
        self.wait_for("the style list to close", lambda: len(self.windows()) == 1)
        self.wait_for_band("the investigator drawn by the new style")
        self.step("save the investigator")
        self.key("ctrl+s")
        self.wait_for("the style's name in " + self.investigator,
                      lambda: self.file_holding(self.investigator, '"Script" "%s' % STYLE))

    def leave(self):
        self.step("Salir")
        self.drop_down("alt+a", "the Archivo menu")
        self.key("s")

        def ended():
            if self.program.poll() is not None:
                return True
            # Any question on the way out is answered No.
            others = [wid for wid, title in self.windows() if not title.startswith("Vorpane")]
            if others:
                self.xdo("windowactivate", others[-1])
                self.key("n")
            return False

        self.wait_for("the program to end after Salir", ended)
        if self.program.returncode != 0:
            raise Failure("the program ended with status %d" % self.program.returncode)

    def check_outside(self):
        with open(self.style, "rb") as f:
            saved = f.read()
        if saved == self.clasica or ADDED_LINE.encode("cp1252") not in saved:
            raise Failure("%s does not hold the change" % self.style)
        # The rest of the copy is clasica's, line ends and all.
        if not saved.startswith(self.clasica.rstrip(b"\r\n")):
            raise Failure("%s lost clasica's text" % self.style)
        if self.snapshot(self.data) != self.data_before:
            raise Failure("the installed data folder changed")
        leftovers = sorted(os.listdir(os.path.join(self.user_data, "vorpane")))
        if leftovers != [STYLE + ".vis"]:
            raise Failure("the user data folder holds %s" % leftovers)
        with open(self.investigator, "rb") as f:
            lines = f.read().decode("cp1252").splitlines()
        scripts = [line.strip() for line in lines if line.strip().startswith('"Script"')]
        if scripts != ['"Script" "%s"' % STYLE]:
            raise Failure("the investigator names %s, not %s" % (scripts, STYLE))

    def check_drawn(self):
        """The installed tool draws the saved investigator with the new style without a script
        error, and its page is not clasica's."""
        env = dict(self.x_env(), HOME=self.home, XDG_CONFIG_HOME=self.config, XDG_DATA_HOME=self.user_data,
                   QT_QPA_PLATFORM="offscreen")
        env.pop("DISPLAY")
        pages = {}
        for script in (None, "clasica"):
            out = os.path.join(self.scratch, "page-%s.png" % (script or "own"))
            command = [os.path.join(self.prefix, "bin", "vorpane-cli"), "render", self.investigator, out,
                       "--dpi", "30"]
            if script:
                command += ["--script", script]
            result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=20)
            if result.returncode != 0:
                raise Failure("vorpane-cli could not draw the investigator with %s:\n%s%s"
                              % (script or "its own style", result.stdout, result.stderr))
            with open(out, "rb") as f:
                pages[script] = f.read()
        if pages[None] == pages["clasica"]:
            raise Failure("the investigator's page with %s is clasica's" % STYLE)

    # --- the whole run ----------------------------------------------------------------------
    def run(self):
        ok = False
        try:
            self.install()
            self.prepare_user()
            self.deadline = time.time() + WHOLE_RUN
            self.start_display()
            self.start_program()
            self.new_style()
            self.change_style()
            self.choose_style()
            self.leave()
            self.check_outside()
            self.check_drawn()
            ok = True
        except (Failure, OSError, subprocess.SubprocessError) as failure:
            log("FAILED:", failure)
            if self.program:
                try:
                    self.step("failure")
                except (OSError, subprocess.SubprocessError):
                    pass
        finally:
            self.stop()
        if ok:
            log("passed")
            # The installed data folder was made read-only.
            subprocess.run(["chmod", "-R", "u+w", self.scratch], capture_output=True)
            shutil.rmtree(self.scratch, ignore_errors=True)
            return 0
        with open(self.stderr_path if self.program else os.devnull, "rb") as f:
            report = f.read().decode("utf-8", "replace")
        if report:
            log("the program's output:\n" + report[-3000:])
        log("screenshots of every step in", self.shots)
        # The installed tree is large and tells nothing the build does not.
        subprocess.run(["chmod", "-R", "u+w", os.path.join(self.scratch, "usr")], capture_output=True)
        shutil.rmtree(os.path.join(self.scratch, "usr"), ignore_errors=True)
        return 1

    def stop(self):
        if self.program and self.program.poll() is None:
            self.program.kill()
            self.program.wait()
        if self.program:
            self.stderr.close()
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="the build folder to install")
    parser.add_argument("--cmake", default="cmake", help="the cmake that installs it")
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    missing = [tool for tool in ("Xvfb", "openbox", "xdotool", "xwininfo", "xprop")
               if not shutil.which(tool)]
    if os.geteuid() == 0 and not shutil.which("setpriv"):
        missing.append("setpriv")
    if missing:
        log("skipped: missing", " ".join(missing))
        return SKIP
    return Run(args).run()


if __name__ == "__main__":
    sys.exit(main())
