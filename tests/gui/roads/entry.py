"""What the options window's entries do to the printed slip: F2 on the date
panels (the date quick-pick), 打印单价金额 unchecked (no price, no amount on
the slip), and the sign-off block of a slip the workflow product knows
nothing of."""
import re
import sqlite3
import time

from guitest.program import DemoHome
from guitest.services import pdf_info, pdf_text
from guitest.xsession import squeezed

from .common import SLIP_TYPE, _tab_point, close_preview, enter_criteria, open_preview, shows, \
    slips, start
from .criteria import page_header, preview_says
from .export import export_pdf

PICKER_TITLE = "日期快手"
LINES_PER_PAGE = 10  # the built-in layout's lines per sheet


def show_page(options, index):
    """A click on the index-th tab of the options window's pages."""
    options.activate()
    options.click_at(*_tab_point(options, index))
    time.sleep(0.4)


def pick_next_month(road, program, what):
    """F2 in the focused date: the quick-pick opens; > (next month), then 确定
    (a click: Enter would press the focused > again)."""
    s = program.session
    s.key("F2")
    wid = program.wait_window("^" + PICKER_TITLE, 15, "F2 in %s opens the date quick-pick (日期快手)" % what)
    road.screenshot("date-pick-" + what)
    picker = program.form(wid, "TfrmHubDate")
    picker.click("btnNextMonth")
    time.sleep(0.3)
    picker.click("btnOK")
    program.wait_gone(wid, 10, "the quick-pick closes after 确定")


def road_dates(road):
    home, program, options = start(road)
    s = program.session
    # A change date of an approved, unprinted slip whose day the month before has too.
    rows = home.query("SELECT TO004 FROM MOCTO WHERE TO001=? AND TO041='Y' AND TO042=0 "
                      "AND CAST(SUBSTR(TO004, 7, 2) AS INTEGER) <= 28 AND SUBSTR(TO004, 5, 2) <> '01' "
                      "ORDER BY TO001, TO002, TO003", (SLIP_TYPE,))
    road.require(rows, "the demo has a slip to pick the date of")
    day = rows[0][0]
    before = "%s%02d%s" % (day[:4], int(day[4:6]) - 1, day[6:])
    first = slips(home, "TO001=? AND TO041='Y' AND TO042=0 AND TO004=?", (SLIP_TYPE, day))[0]
    road.log("change date %s (typed %s, a month on by the quick-pick); its first slip %s"
             % (day, before, "-".join(first)))

    # Slip type, no numbers; Tab on to 选择变更日期 (past the version's two edits).
    enter_criteria(road, options, SLIP_TYPE)
    s.key("Tab")
    s.key("Tab")
    s.type(before)
    pick_next_month(road, program, "the change date's begin")
    s.key("Tab")
    s.type(before)
    pick_next_month(road, program, "the change date's end")
    road.screenshot("dates-picked-%s" % day)

    # The report is of the picked day, not of the day typed before the picks.
    preview = open_preview(road, program, options)
    preview_says(road, program, preview, "-".join(first))
    typed = slips(home, "TO001=? AND TO041='Y' AND TO042=0 AND TO004=?", (SLIP_TYPE, before))
    if typed:
        road.expect(not shows(page_header(program, preview), "-".join(typed[0])),
                    "the preview does not show %s of the typed day %s" % ("-".join(typed[0]), before))
    close_preview(road, program, preview)


def price_texts(value):
    """The ways a price or amount may print."""
    if value is None:
        return []
    texts = {"%.15g" % value, "%.2f" % value}
    if float(value).is_integer():
        texts.add(str(int(value)))
    return sorted(texts)


def road_prices(road):
    home, program, options = start(road)
    key = slips(home, "TO001=? AND TO041='Y' AND TO042=0 AND TO024 > 0", (SLIP_TYPE,))[0]
    values = home.query("SELECT TO024, TO124, TO025, TO125 FROM MOCTO WHERE TO001=? AND TO002=? AND TO003=?",
                        key)[0]
    road.log("slip %s: TO024 %s, TO124 %s, TO025 %s, TO125 %s" % (("-".join(key),) + tuple(values)))
    enter_criteria(road, options, SLIP_TYPE, key[1], key[1])

    preview = open_preview(road, program, options)
    text = pdf_text(export_pdf(road, program, home, preview))
    close_preview(road, program, preview)
    printed = {}
    for name, value in zip(("TO024", "TO124", "TO025", "TO125"), values):
        found = [t for t in price_texts(value) if re.search(r"(?<![\d.])%s(?![\d])" % re.escape(t), text)]
        if road.expect(found, "with 打印单价金额 ticked the slip prints %s (%s)" % (name, value)):
            printed[name] = found[0]

    # 高级选项: 打印单价金额 unchecked.
    show_page(options, 1)
    options.click("ChkPricePower")
    time.sleep(0.3)
    road.screenshot("prices-unchecked")
    show_page(options, 0)
    preview = open_preview(road, program, options)
    text = pdf_text(export_pdf(road, program, home, preview))
    close_preview(road, program, preview)
    road.expect("-".join(key) in squeezed(text), "the slip %s still prints" % "-".join(key))
    for name, shown in printed.items():
        road.expect(not re.search(r"(?<![\d.])%s(?![\d])" % re.escape(shown), text),
                    "without prices the slip prints no %s (%s)" % (name, shown))
    road.expect("金额" in squeezed(text), "the captions stay (金额)")


def road_signoff(road):
    home = DemoHome(road)
    # The company registers this program with the workflow product under its
    # own code (the program asks for it by that code).
    with sqlite3.connect(home.database) as db:
        db.execute("UPDATE ADMMQ SET MQ002='ZORV52' WHERE MQ001='ZORV52'")
    home, program, options = start(road, home=home)
    # A slip the workflow product signed, then the slips of the next slip
    # number, the first of them void (no workflow data), each on one sheet.
    rows = home.query(
        "SELECT TO002, TO003, TO041, (SELECT COUNT(*) FROM MOCTP WHERE TP001=TO001 AND TP002=TO002 AND "
        "TP003=TO003), (SELECT COUNT(*) FROM TWSMD WHERE MD001=TO001 AND MD002=TO002 AND MD003=TO003 AND "
        "MD008 <> '') FROM MOCTO WHERE TO001=? ORDER BY TO002, TO003", (SLIP_TYPE,))
    run = None
    for i in range(len(rows) - 1):
        signed, void = rows[i], rows[i + 1]
        if (i > 0 and rows[i - 1][0] == signed[0]) or signed[0] == void[0] or signed[2] != "Y" or signed[4] == 0 \
                or void[2] != "V":
            continue
        candidate = [signed] + [r for r in rows if r[0] == void[0]]
        if all(0 < r[3] <= LINES_PER_PAGE for r in candidate):
            run = candidate
            break
    road.require(run, "the demo has a signed slip followed by a void one")
    signed, void = run[0], run[1]
    road.log("slips of the run: %s" % ", ".join("%s-%s (%s)" % (r[0], r[1], r[2]) for r in run))
    signer = home.query("SELECT MD013 FROM TWSMD WHERE MD001=? AND MD002=? AND MD003=? AND MD008<>'' "
                        "ORDER BY MD005", (SLIP_TYPE, signed[0], signed[1]))[0][0]

    enter_criteria(road, options, SLIP_TYPE, signed[0], void[0])
    # 高级选项: every approval and print status (选择审核状态, 选择打印状态: 全部).
    show_page(options, 1)
    for combo in ("cboTO041", "cboTO042"):
        options.click(combo)
        time.sleep(0.4)
        program.session.key("End")
        program.session.key("Return")
        time.sleep(0.3)
    road.screenshot("all-statuses")
    show_page(options, 0)

    preview = open_preview(road, program, options)
    path = export_pdf(road, program, home, preview)
    close_preview(road, program, preview)
    pages = pdf_info(path).get("Pages")
    road.require(pages == str(len(run)), "the %d slips print on a sheet each (pdfinfo: %s)" % (len(run), pages))
    first, second = squeezed(pdf_text(path, 1, 1)), squeezed(pdf_text(path, 2, 2))
    road.expect("%s-%s" % (void[0], void[1]) in second, "the second sheet is the void slip's")
    road.expect("签核人姓名" in first and squeezed(signer) in first,
                "the signed slip's sign-off block names its signers (%s)" % signer)
    road.expect("签核资料由工作流程系统提供" in second,
                "the void slip's sign-off block keeps the slip type's sign-off line")
    road.expect("签核人姓名" not in second and squeezed(signer) not in second,
                "no signer of the slip before it is carried onto the void slip")
