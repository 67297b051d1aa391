"""The real program and its demo home, as a person meets them.

DemoHome makes a fresh home with `steward --create-demo`, and reads its
database (SQLite, C_DATA/DEMO.db) and settings the way a tester checks them
afterwards. Program starts `steward ZORV52 --home DIR --user CHEN` (with
CHEN's demo password in a file only the tester may read) on the
run's display and finds its windows by title; FormWindow is one window of
the program together with the layout of its form class, so a test can click
a control by name where a person would click it.
"""
import os
import re
import sqlite3
import subprocess
import time

from .forms import FormLayout

OPTIONS_TITLE = "工单变更单打印"
PREVIEW_TITLE = "凭证预览"


class DemoHome:
    def __init__(self, road, folder=None, code_page=None):
        self.road = road
        self.path = folder or os.path.join(road.folder, "home")
        steward = os.path.join(road.build_dir, "bin", "steward")
        argv = [steward, "--create-demo", self.path]
        if code_page:
            argv += ["--code-page", str(code_page)]
        result = subprocess.run(argv, capture_output=True,
                                text=True, timeout=120,
                                env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
        if result.returncode != 0:
            raise RuntimeError("--create-demo failed: %s" % (result.stderr or result.stdout))
        road.log(result.stdout.strip())
        # As a user keeps a password for the program: in a file only they may
        # read, from the logins --create-demo printed.
        self.passwords = {}
        for line in result.stdout.splitlines():
            if line.startswith("demo users and passwords:"):
                for pair in line.split(":", 1)[1].split(","):
                    user, password = pair.split()
                    self.passwords[user] = password
        if "CHEN" not in self.passwords:
            raise RuntimeError("--create-demo printed no password of CHEN: %s" % result.stdout)

    def password_file(self, user="CHEN"):
        """A file holding user's password, mode 0600, for --password-file."""
        path = os.path.join(self.path, ".password-%s" % user.lower())
        fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
        with os.fdopen(fd, "w") as f:
            f.write(self.passwords[user] + "\n")
        return path

    @property
    def database(self):
        return os.path.join(self.path, "C_DATA", "DEMO.db")

    def query(self, sql, args=()):
        with sqlite3.connect("file:%s?mode=ro" % self.database, uri=True, timeout=10) as db:
            return db.execute(sql, args).fetchall()

    def set_client_setting(self, section, key, value):
        """Sets key=value in [section] of StewardC.ini (lines end in CR LF there)."""
        path = os.path.join(self.path, "StewardC.ini")
        with open(path, encoding="utf-8", newline="") as f:
            lines = f.read().split("\r\n")
        head = "[%s]" % section
        if head not in lines:
            if lines and lines[-1] == "":
                lines.pop()
            lines += ["", head, ""]
        start = lines.index(head) + 1
        end = start
        while end < len(lines) and not lines[end].startswith("["):
            end += 1
        for i in range(start, end):
            if lines[i].split("=", 1)[0].strip().lower() == key.lower():
                lines[i] = "%s=%s" % (key, value)
                break
        else:
            insert = end
            while insert > start and lines[insert - 1] == "":
                insert -= 1
            lines.insert(insert, "%s=%s" % (key, value))
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write("\r\n".join(lines))


class Program:
    def __init__(self, road, home, features=None, extra_env=None, args=()):
        self.road = road
        self.home = home
        self.session = road.session
        steward = os.path.join(road.build_dir, "bin", "steward")
        argv = [steward, "ZORV52", "--home", home.path, "--user", "CHEN",
                "--password-file", home.password_file("CHEN")]
        if features:
            argv += ["--features", features]
        argv += list(args)
        env = dict(self.session.env)
        env.pop("QT_QPA_PLATFORM", None)
        env.update(extra_env or {})
        self.log_path = os.path.join(road.folder, "program-%d.log" % int(time.time() * 1000))
        road.log("start: %s" % " ".join(argv))
        self.process = road.processes.start("steward", argv, env=env, log_path=self.log_path)
        self.pid = self.process.pid

    # -- windows --
    def windows(self):
        return self.session.visible_windows(self.pid)

    def window(self, title_pattern):
        """Id of a visible window whose title matches, or None."""
        for wid, title in self.windows():
            if re.search(title_pattern, title):
                return wid
        return None

    def wait_window(self, title_pattern, timeout=20, what=None):
        wid = self.road.wait_for(lambda: self.window(title_pattern), timeout,
                                 what or "a window titled /%s/ shows" % title_pattern)
        self.wait_settled(wid)
        return wid

    def wait_gone(self, wid, timeout=10, what="the window closes"):
        return self.road.wait_for(lambda: not self.session.is_mapped(wid), timeout, what)

    def wait_settled(self, wid, timeout=5):
        """Waits until the window's pixels stop changing (painted, laid out)."""
        last = None
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            pixels = self.session.window_pixels(wid)
            if pixels and pixels == last:
                return
            last = pixels
            time.sleep(0.15)

    def form(self, wid, form_class):
        return FormWindow(self, wid, form_class)

    def options_window(self, timeout=40, title=OPTIONS_TITLE):
        wid = self.wait_window("^" + title, timeout, "the options window shows")
        return self.form(wid, "TfrmZorv52")

    # -- the end --
    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout=15):
        """The exit status, or None when the program still runs after timeout."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def output(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()


class FormWindow:
    """One of the program's windows and the layout of its form class."""

    _layouts = {}

    def __init__(self, program, wid, form_class):
        self.program = program
        self.session = program.session
        self.wid = wid
        key = (program.road.source_dir, form_class)
        if key not in FormWindow._layouts:
            FormWindow._layouts[key] = FormLayout(program.road.source_dir, form_class)
        self.layout = FormWindow._layouts[key]

    def point(self, name, dx=None, dy=None):
        """Screen point of control name: its centre, or (dx, dy) from its top-left."""
        x, y, _, _ = self.session.geometry(self.wid)
        if dx is None:
            cx, cy = self.layout.center(name)
        else:
            ox, oy = self.layout.origin(name)
            cx, cy = ox + dx, oy + dy
        return x + cx, y + cy

    def click(self, name, dx=None, dy=None):
        self.session.click(*self.point(name, dx, dy))

    def click_at(self, cx, cy):
        """A click at (cx, cy) of the window's client area."""
        x, y, _, _ = self.session.geometry(self.wid)
        self.session.click(x + cx, y + cy)

    def activate(self):
        self.session.xdotool("windowactivate", "--sync", self.wid, check=False)

    def mapped(self):
        return self.session.is_mapped(self.wid)

    def pixels(self):
        return self.session.window_pixels(self.wid)
