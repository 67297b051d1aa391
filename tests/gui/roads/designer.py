"""The layout designer (设计凭证): open, move the title, hide a field, add a
label and name it, save under a new name, close, preview with the format,
reopen it."""
import re
import subprocess
import time

from guitest.processes import wait_until

from .common import SLIP_TYPE, Oracle, answer, close_preview, enter_criteria, message_text, \
    new_window, open_preview, responds, shows, slips, start, window_ids
from .export import export_pdf

FORMAT = "GUIFMT"
LABEL = "GUILABEL"

# The designer is made at run time (no form description): points in its
# client area as it lays out the change-slip format at 1280x1024, the design
# surface scrolled to its top.
TITLE = (321, 120)           # (lblVoucherName), the slip's title in the group header
ITEM_FIELD = (77, 164)       # [TO005], 品号 of the slip header
LABEL_TOOL = (769, 476)      # "A 标签", dragged onto a band
FOOTER_SPOT = (312, 607)     # an empty part of the group footer band
INSPECTOR_CAPTION = (962, 98)  # the value of "Caption", second row of the inspector


def designer_title(name):
    """The designer's title ends in the format's name in brackets."""
    return r"\[%s\]$" % re.escape(name)


def at(session, wid, point):
    x, y, _, _ = session.geometry(wid)
    return x + point[0], y + point[1]


def word_boxes(path, word):
    """x positions (points) of the words that start with word in the first
    page of a PDF (pdftotext -bbox): the slip title is one word with the slip
    type's name, 工单变更单(厂内工单变更单)."""
    out = subprocess.run(["pdftotext", "-bbox", "-f", "1", "-l", "1", path, "-"],
                         capture_output=True, text=True, timeout=60).stdout
    xs = []
    for line in out.splitlines():
        if ">%s" % word in line and "xMin=" in line:
            xs.append(float(line.split('xMin="')[1].split('"')[0]))
    return xs


def pdf_words(path):
    return subprocess.run(["pdftotext", "-f", "1", "-l", "1", path, "-"], capture_output=True,
                          text=True, timeout=60).stdout


def stored_formats(home):
    return home.query("SELECT NT002, FLAG FROM WARRANT WHERE NT001='TfrmZorv52Fmt' ORDER BY NT002")


def close_designer(road, program, designer, save_answer):
    """Ctrl+F12; a question whether to save is answered with save_answer."""
    s = program.session
    known = window_ids(program)
    s.xdotool("windowactivate", "--sync", designer, check=False)
    s.key("ctrl+F12")
    question = new_window(program, known, ".", 5)
    if question and s.is_mapped(question):
        program.wait_settled(question)
        road.screenshot("designer-close-question")
        road.log("closing asks: %r" % message_text(program, question))
        answer(program, question, save_answer)
    road.soon(lambda: not s.is_mapped(designer), 10, "Ctrl+F12 closes the designer")


def road_designer(road):
    oracle = Oracle(road)
    home, program, options = start(road)
    s = program.session
    key = slips(home, "TO001=? AND TO041='Y' AND TO042=0", (SLIP_TYPE,))[0]
    item = home.query("SELECT TO005 FROM MOCTO WHERE TO001=? AND TO002=? AND TO003=?", key)[0][0]

    # Without a slip type the designer refuses, after its message.
    known = window_ids(program)
    options.activate()
    s.key("alt+e")
    message = new_window(program, known, ".", 10)
    if road.expect(message, "设计凭证 without a slip type shows a message"):
        program.wait_settled(message)
        road.screenshot("design-without-slip-type")
        road.expect(shows(message_text(program, message), "变更单别"),
                    "the message asks for the slip type (请输入选择变更单别!)")
        answer(program, message, "Return")
        stray = new_window(program, known | {message}, designer_title("<New>"), 3)
        road.expect(not stray, "no designer opens after that message")
        if stray:
            close_designer(road, program, stray, "alt+n")

    enter_criteria(road, options, SLIP_TYPE, key[1], key[1])
    known = window_ids(program)
    options.activate()
    s.key("alt+e")
    designer = new_window(program, known, designer_title("<New>"), 30)
    road.require(designer, "设计凭证 opens the designer on <New>")
    program.wait_settled(designer)
    road.screenshot("designer")

    # Move the title 5 grid steps to the right with the arrow keys.
    s.click(*at(s, designer, TITLE))
    time.sleep(0.3)
    for _ in range(5):
        s.key("Right")
    # Hide 品号's field.
    s.click(*at(s, designer, ITEM_FIELD))
    time.sleep(0.3)
    s.key("Delete")
    # A label from the tool onto the footer, named in the inspector at once.
    s.drag(*at(s, designer, LABEL_TOOL), *at(s, designer, FOOTER_SPOT))
    time.sleep(0.8)
    s.double_click(*at(s, designer, INSPECTOR_CAPTION))
    time.sleep(0.3)
    s.key("ctrl+a")
    s.type(LABEL)
    s.key("Return")
    time.sleep(0.5)
    road.screenshot("designer-edited")

    # 另存格式 (Ctrl+N) under a new name.
    known = window_ids(program)
    s.key("ctrl+n")
    ask = new_window(program, known, ".", 10)
    if road.expect(ask, "Ctrl+N asks the format's name (另存凭证格式档)"):
        program.wait_settled(ask)
        s.key("ctrl+a")
        s.type(FORMAT)
        known = window_ids(program)
        s.key("Return")
        wait_until(lambda: not s.is_mapped(ask), 10)
        done = new_window(program, known - {ask}, ".", 10)
        if road.expect(done, "saving says so"):
            program.wait_settled(done)
            road.screenshot("designer-saved-message")
            road.expect(FORMAT in message_text(program, done).upper(),
                        "the message names the new format %s" % FORMAT)
            answer(program, done, "Return")
        road.expect(re.search(designer_title(FORMAT), s.title(designer)),
                    "the designer's title names the format it now edits (%r)" % s.title(designer))
    road.soon(lambda: [n for n, _ in stored_formats(home)] == [FORMAT], 10,
              "WARRANT holds the format %s (holds %s)" % (FORMAT, stored_formats(home)))
    group = home.query("SELECT CREATOR, USR_GROUP FROM WARRANT WHERE NT001='TfrmZorv52Fmt'")
    road.expect(group == [("CHEN", "PMC")], "the stored format names its creator CHEN and group PMC (%s)" % group)
    road.screenshot("designer-saved")
    close_designer(road, program, designer, "alt+n")
    responds(road, program, options, "the designer closed by Ctrl+F12")

    # The options window uses the new format: a preview exported shows it.
    preview = open_preview(road, program, options)
    exported = export_pdf(road, program, home, preview)
    close_preview(road, program, preview)
    if exported:
        designed = pdf_words(exported)
        plain = pdf_words(oracle.pdf(key))
        road.expect(item in plain and item not in designed,
                    "the hidden field (品号 %s) is gone from the report made with %s" % (item, FORMAT))
        road.expect(LABEL in designed, "the added label %s is on the report" % LABEL)
        before, after = word_boxes(oracle.pdf(key), "工单变更单"), word_boxes(exported, "工单变更单")
        road.expect(before and after and after[0] > before[0] + 3,
                    "the title moved to the right (x %s → %s)" % (before[:1], after[:1]))

    # Reopen: the designer comes up on the stored format.
    known = window_ids(program)
    options.activate()
    s.key("alt+e")
    designer = new_window(program, known, designer_title(FORMAT), 30)
    if road.expect(designer, "设计凭证 opens the designer on %s again" % FORMAT):
        program.wait_settled(designer)
        road.screenshot("designer-reopened")
        close_designer(road, program, designer, "alt+n")
    road.expect([n for n, _ in stored_formats(home)] == [FORMAT], "WARRANT still holds %s once" % FORMAT)
    responds(road, program, options, "the designer reopened and closed")
