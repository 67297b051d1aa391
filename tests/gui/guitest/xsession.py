"""An X server with a window manager, and the input a person gives it.

XSession.start takes the first free display of a range (Xvfb refuses a
display whose lock file is held, so runs in parallel get distinct ones),
starts openbox on it and waits until the window manager owns the screen.
Input goes through xdotool (XTEST: the events a keyboard and a mouse make),
window facts come from xdotool and xwininfo, pictures from ImageMagick's
import. Window handles are X window ids as decimal texts.
"""
import os
import re
import subprocess
import time

from .processes import wait_until

SCREEN = "1280x1024x24"


def _lock_pid(path):
    try:
        with open(path) as f:
            return int(f.read().strip() or 0)
    except (OSError, ValueError):
        return None


class XError(Exception):
    pass


class XSession:
    def __init__(self, processes, folder, displays=range(91, 100)):
        self.processes = processes
        self.folder = folder
        self.displays = displays
        self.display = None
        self.env = None

    # -- start -----------------------------------------------------------
    def start(self):
        for number in self.displays:
            lock = "/tmp/.X%d-lock" % number
            if os.path.exists(lock):
                continue
            server = self.processes.start(
                "Xvfb", ["Xvfb", ":%d" % number, "-screen", "0", SCREEN, "-nolisten", "tcp",
                         "-noreset"],
                log_path=os.path.join(self.folder, "xvfb.log"))
            socket = "/tmp/.X11-unix/X%d" % number
            # The display is ours when its lock names our server and the socket
            # is there; a server that lost the race to a parallel run exits.
            ours = wait_until(lambda: server.poll() is not None
                              or (_lock_pid(lock) == server.pid and os.path.exists(socket)), 15)
            if ours and server.poll() is None:
                self.display = ":%d" % number
                break
            self.processes.stop(server)
        if self.display is None:
            raise XError("no free display in :%d..:%d" % (self.displays[0], self.displays[-1]))
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("QT_QPA_PLATFORM", None)
        if not wait_until(lambda: self._run(["xdpyinfo"], check=False).returncode == 0, 10):
            raise XError("X server %s does not answer" % self.display)
        self.processes.start("openbox", ["openbox", "--sm-disable"], env=self.env,
                             log_path=os.path.join(self.folder, "openbox.log"))
        if not wait_until(self._window_manager_running, 10):
            raise XError("openbox did not take the screen of %s" % self.display)
        return self

    def _window_manager_running(self):
        out = self._run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False).stdout
        return "window id" in out

    # -- tools -----------------------------------------------------------
    def _run(self, argv, check=True, input=None, timeout=20):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True,
                                input=input, timeout=timeout)
        if check and result.returncode != 0:
            raise XError("%s: %s" % (" ".join(argv), result.stderr.strip()))
        return result

    def xdotool(self, *args, check=True):
        return self._run(["xdotool"] + [str(a) for a in args], check=check).stdout

    # -- windows ---------------------------------------------------------
    def visible_windows(self, pid=None):
        """[(id, title)] of the mapped windows that have a title (of process pid)."""
        args = ["search", "--onlyvisible"]
        if pid is not None:
            args += ["--all", "--pid", pid]
        args += ["--name", "."]
        ids = self.xdotool(*args, check=False).split()
        found = []
        for wid in ids:
            name = self.xdotool("getwindowname", wid, check=False).strip()
            if name:
                found.append((wid, name))
        return found

    def title(self, wid):
        return self.xdotool("getwindowname", wid, check=False).strip()

    def is_mapped(self, wid):
        out = self._run(["xwininfo", "-id", str(wid)], check=False).stdout
        return "IsViewable" in out

    def geometry(self, wid):
        """(x, y, width, height) of the window's inside, in screen pixels."""
        out = self._run(["xwininfo", "-id", str(wid)]).stdout
        def field(label):
            return int(re.search(label + r":\s+(-?\d+)", out).group(1))
        return (field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))

    def active_window(self):
        return self.xdotool("getactivewindow", check=False).strip() or None

    def focused_window(self):
        return self.xdotool("getwindowfocus", check=False).strip() or None

    # -- input -----------------------------------------------------------
    def click(self, x, y, button=1):
        """A click at screen point (x, y)."""
        self.xdotool("mousemove", "--sync", int(x), int(y))
        time.sleep(0.05)
        self.xdotool("click", button)

    def double_click(self, x, y):
        self.xdotool("mousemove", "--sync", int(x), int(y))
        time.sleep(0.05)
        self.xdotool("click", "--repeat", 2, "--delay", 80, 1)

    def drag(self, x1, y1, x2, y2, steps=8):
        self.xdotool("mousemove", "--sync", int(x1), int(y1))
        self.xdotool("mousedown", 1)
        for i in range(1, steps + 1):
            self.xdotool("mousemove", "--sync", int(x1 + (x2 - x1) * i / steps),
                         int(y1 + (y2 - y1) * i / steps))
            time.sleep(0.03)
        self.xdotool("mouseup", 1)

    def key(self, *keys):
        """Keys as xdotool names them, one after the other: "Tab", "ctrl+F12", "alt+F4"."""
        for k in keys:
            self.xdotool("key", "--delay", 40, k)
            time.sleep(0.03)

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    # -- the screen ------------------------------------------------------
    def screenshot(self, path):
        self._run(["import", "-window", "root", path], check=False, timeout=30)
        return path

    def window_pixels(self, wid):
        """The window's pixels as raw RGB bytes (to tell whether it changed),
        or b"" when the window is not on screen or could not be read."""
        return self.capture(wid, ["-depth", "8", "rgb:-"])

    def capture(self, wid, arguments, timeout=15):
        """ImageMagick's import of one window with the arguments after it;
        b"" for a window that is gone. import asks for a click to choose a
        window when it cannot find the one named, so it is never run on a
        window that is not mapped, and a hang is cut short instead of
        failing the road."""
        if not self.is_mapped(wid):
            return b""
        try:
            return subprocess.run(["import", "-window", str(wid)] + arguments,
                                  env=self.env, capture_output=True, timeout=timeout).stdout
        except subprocess.TimeoutExpired:
            return b""


def read_text(session, wid, scale=300, area=None, languages="chi_sim+eng", layout=6):
    """The text in a window, read from its pixels (tesseract, Simplified
    Chinese and English), or "" when no OCR is installed; area (x, y, width,
    height) limits it to that part of the window. Message boxes have
    no other way out of the window; callers compare with squeezed() on
    both sides and look for fragments, since OCR may miss a character."""
    crop = ["-crop", "%dx%d+%d+%d" % (area[2], area[3], area[0], area[1]), "+repage"] if area else []
    picture = session.capture(wid, crop + ["-resize", "%d%%" % scale, "-colorspace", "Gray", "png:-"], timeout=30)
    try:
        result = subprocess.run(["tesseract", "-", "-", "-l", languages, "--psm", str(layout)],
                                input=picture, capture_output=True, timeout=60)
    except FileNotFoundError:
        return ""
    return result.stdout.decode("utf-8", "replace")


def squeezed(text):
    return re.sub(r"\s+", "", text or "")
