"""Steps several roads share: start the program, fill the criteria, open and
close the preview, answer message boxes, tell whether a window still takes
input."""
import os
import re
import subprocess
import time

from guitest.processes import wait_until
from guitest.program import PREVIEW_TITLE, DemoHome, Program
from guitest.services import pdf_info
from guitest.xsession import read_text, squeezed

# A slip of the demo home (README's example) and its neighbours.
SLIP_TYPE = "A511"
SLIP_NUMBER = "20241102003"


def start(road, home=None, features=None, extra_env=None):
    home = home or DemoHome(road)
    program = Program(road, home, features=features, extra_env=extra_env)
    options = program.options_window()
    road.screenshot("options-window")
    return home, program, options


def slips(home, where="1=1", args=()):
    """Keys (type, number, version) of the change slips matching where, in key order."""
    return [tuple(r) for r in home.query(
        "SELECT TO001, TO002, TO003 FROM MOCTO WHERE %s ORDER BY TO001, TO002, TO003" % where, args)]


def enter_criteria(road, options, slip_type, number_from=None, number_to=None):
    """Slip type into 选择变更单别, then (Tab, Tab) the range of 选择变更单号:
    the keys a person uses, the slip type's edit clicked first."""
    s = options.session
    options.click("edTO001")
    s.key("ctrl+a")
    s.type(slip_type)
    s.key("Tab")            # to the range/list choice of the number panel
    s.key("Tab")            # to its first edit
    s.key("ctrl+a")
    if number_from:
        s.type(number_from)
    s.key("Tab")
    s.key("ctrl+a")
    if number_to:
        s.type(number_to)
    s.key("Tab")
    time.sleep(0.3)
    road.screenshot("criteria-%s-%s-%s" % (slip_type, number_from or "", number_to or ""))


def open_preview(road, program, options, how="alt+v"):
    """Preview from the options window (Alt+V: the 预览(V) button's key, or a
    click on it); returns the preview's FormWindow."""
    options.activate()
    if how == "click":
        options.click("btnPreview")
    else:
        program.session.key(how)
    wid = program.wait_window("^" + PREVIEW_TITLE, 40, "the preview (凭证预览) shows")
    road.screenshot("preview")
    return program.form(wid, "TfrmVRPreview")


def close_preview(road, program, preview):
    """退出 on the preview's tool bar."""
    preview.click("btnExit")
    program.wait_gone(preview.wid, 10, "the preview closes after 退出")


def new_window(program, known, pattern=".", timeout=15):
    """A visible window of the program that is not among known ids, or None."""
    def find():
        for wid, title in program.windows():
            if wid not in known and re.search(pattern, title):
                return wid
        return None
    return wait_until(find, timeout)


def window_ids(program):
    return {wid for wid, _ in program.windows()}


def message_text(program, wid):
    """What a message box says, read from its pixels (without the icon at
    its left, which the OCR would read as letters)."""
    _, _, width, height = program.session.geometry(wid)
    return read_text(program.session, wid, area=(56, 0, width - 56, height))


def shows(text, *fragments):
    """Every fragment is in the (OCR) text, blanks ignored."""
    flat = squeezed(text)
    return all(squeezed(f) in flat for f in fragments)


def responds(road, program, options, what):
    """The options window takes input: a click on another tab of its page
    control changes what the window shows (and a click back restores the
    first page). Records the outcome; True when it responded."""
    options.activate()
    time.sleep(0.2)
    before = options.pixels()
    options.click_at(*_tab_point(options, 1))
    changed = wait_until(lambda: options.pixels() != before, 3)
    road.screenshot("responds-" + what)
    options.click_at(*_tab_point(options, 0))
    wait_until(lambda: options.pixels() == before, 2)
    return road.expect(changed, "the options window takes input after %s" % what)


def _tab_point(options, index):
    """A point on the index-th tab of the options page control: the tabs start
    at its left edge, each wider than 70 pixels (four Chinese characters)."""
    x, y = options.layout.origin("pgOption")
    return x + 36 + 74 * index, y + 12


def answer(program, wid, key):
    """Presses key in the message box wid and waits for it to go."""
    program.session.xdotool("windowactivate", "--sync", wid, check=False)
    program.session.key(key)
    return wait_until(lambda: not program.session.is_mapped(wid), 10)


class Oracle:
    """What a print of given slips should hold, from the program's own
    command line (`--keys K --export-pdf FILE`) on a second, untouched demo
    home made with the same seed: pages per slip and the report title."""

    def __init__(self, road):
        self.road = road
        self.home = DemoHome(road, os.path.join(road.folder, "oracle-home"))
        self.folder = os.path.join(road.folder, "oracle")
        os.makedirs(self.folder, exist_ok=True)
        self._files = {}

    def pdf(self, key):
        if key not in self._files:
            path = os.path.join(self.folder, "-".join(key) + ".pdf")
            steward = os.path.join(self.road.build_dir, "bin", "steward")
            result = subprocess.run(
                [steward, "ZORV52", "--home", self.home.path, "--user", "CHEN",
                 "--password-file", self.home.password_file("CHEN"),
                 "--keys", ",".join(key), "--export-pdf", path],
                capture_output=True, text=True, timeout=120,
                env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
            if result.returncode != 0 or not os.path.exists(path):
                raise RuntimeError("--export-pdf of %s failed: %s" % (key, result.stderr))
            self._files[key] = path
        return self._files[key]

    def pages(self, keys):
        return sum(int(pdf_info(self.pdf(k))["Pages"]) for k in keys)

    def title(self, key):
        return pdf_info(self.pdf(key)).get("Title", "")

    def page_owners(self, keys):
        """The slip each page of a print of keys belongs to, page 1 first."""
        owners = []
        for k in keys:
            owners += [k] * int(pdf_info(self.pdf(k))["Pages"])
        return owners


def slip_text(key):
    return "-".join(key)
