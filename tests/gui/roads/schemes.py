"""Condition schemes: saved, found after a restart, renamed, deleted."""
import time

from guitest.program import Program
from guitest.xsession import read_text, squeezed

from .common import SLIP_TYPE, answer, close_preview, enter_criteria, message_text, new_window, \
    open_preview, responds, shows, slip_text, slips, start, window_ids
from .criteria import page_header

# Plain capitals: the list's small caption font is read back by OCR.
NAME = "ALPHA"
RENAMED = "BRAVO"


def stored(home):
    """Names of CHEN's ZORV52 schemes in GENES."""
    return [r[0] for r in home.query(
        "SELECT NCONDITION FROM GENES WHERE CREATOR='CHEN' AND PROGRAMME='ZORV52' ORDER BY NCONDITION")]


def listed(program, options, name):
    """Whether the scheme list (条件方案) shows name. The captions are small:
    the OCR reads them at three sizes and one good reading counts."""
    x, y = options.layout.origin("lstCondition")
    c = options.layout.control("lstCondition")
    # A click on the list's empty part first: a selected caption (white on
    # blue) does not read.
    options.click("lstCondition", dx=c.width // 2, dy=c.height - 20)
    time.sleep(0.3)
    for scale in (300, 400, 500):
        text = read_text(program.session, options.wid, scale=scale, area=(x, y, c.width, 100),
                         languages="eng", layout=11)
        if name in squeezed(text):
            return True
    return False


def select_first_scheme(program, options):
    """A click on the first scheme of the list (icon view: top left)."""
    options.click("lstCondition", dx=16, dy=14)
    time.sleep(0.3)


def road_schemes(road):
    home, program, options = start(road)
    s = program.session
    key = slips(home, "TO001=? AND TO041='Y' AND TO042=0", (SLIP_TYPE,))[2]
    enter_criteria(road, options, SLIP_TYPE, key[1], key[1])

    # 保存 (the first tool button of 条件方案): the scheme dialog asks the name.
    known = window_ids(program)
    options.click("btnInsert")
    dialog = new_window(program, known, ".", 15)
    road.require(dialog, "保存 opens the scheme dialog")
    program.wait_settled(dialog)
    road.screenshot("scheme-dialog")
    scheme_form = program.form(dialog, "TfrmGeneCondition")
    scheme_form.click("edConName")
    s.key("ctrl+a")
    s.type(NAME)
    s.key("Return")
    road.soon(lambda: not s.is_mapped(dialog), 10, "Enter closes the scheme dialog (确定 is its default)")
    road.soon(lambda: NAME in stored(home), 10, "GENES holds the scheme %s" % NAME)
    road.screenshot("scheme-saved")
    road.expect(listed(program, options, NAME), "条件方案 lists %s" % NAME)
    responds(road, program, options, "the scheme dialog")

    # A restart finds it; 开启 brings its criteria back.
    options.click("btnCancel")
    road.expect(program.wait_exit(15) == 0, "取消 ends the program")
    program = Program(road, home)
    options = program.options_window()
    s = program.session
    road.screenshot("restarted")
    road.expect(listed(program, options, NAME), "after a restart 条件方案 lists %s" % NAME)
    select_first_scheme(program, options)
    options.click("btnOpen")
    time.sleep(0.5)
    road.screenshot("scheme-opened")
    preview = open_preview(road, program, options)
    road.expect(shows(page_header(program, preview), slip_text(key)),
                "the opened scheme's criteria preview %s" % slip_text(key))
    close_preview(road, program, preview)

    # F2 on the selected scheme edits its name in place.
    select_first_scheme(program, options)
    s.key("F2")
    time.sleep(0.3)
    s.key("ctrl+a")
    s.type(RENAMED)
    s.key("Return")
    road.soon(lambda: stored(home) == [RENAMED], 10,
              "renamed in place, GENES holds %s instead of %s (holds %s)" % (RENAMED, NAME, stored(home)))
    road.screenshot("scheme-renamed")
    road.expect(listed(program, options, RENAMED), "条件方案 lists %s" % RENAMED)

    # 删除 asks, 是(Y) deletes.
    select_first_scheme(program, options)
    known = window_ids(program)
    options.click("btnDelete")
    question = new_window(program, known, ".", 10)
    if road.expect(question, "删除 asks before it deletes"):
        program.wait_settled(question)
        road.screenshot("delete-question")
        text = message_text(program, question)
        road.log("the question says: %r" % text)
        road.expect(shows(text, "此方案") and RENAMED in squeezed(text).upper(),
                    "the question names the scheme %s" % RENAMED)
        road.expect(answer(program, question, "alt+y"), "是(Y) closes the question")
    road.soon(lambda: stored(home) == [], 10, "GENES no longer holds it (holds %s)" % stored(home))
    road.expect(not listed(program, options, RENAMED),
                "条件方案 no longer lists it")
    responds(road, program, options, "deleting a scheme")
