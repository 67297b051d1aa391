"""Export from the preview (导出图片): the files are where the message says."""
import glob
import os
import re
import time

from guitest.services import pdf_info, pdf_text
from guitest.xsession import squeezed

from .common import SLIP_TYPE, Oracle, answer, close_preview, enter_criteria, message_text, \
    new_window, open_preview, responds, slips, start, window_ids

# The items of the 导出图片 menu, top to bottom.
MENU_ITEMS = ["BMP", "GIF", "JPG", "PDF", "PDF 文件 (整份)"]
# The name of SLIP_TYPE in the demo (CMSMQ).
SLIP_TYPE_NAME = "厂内工单变更单"


def export_from_menu(road, program, preview, item):
    """Opens the 导出图片 drop-down (its arrow) and picks item by keys;
    returns the message box that answers, or None."""
    s = program.session
    button = preview.layout.control("btnSaveBMP")
    known = window_ids(program)
    preview.click("btnSaveBMP", dx=button.width - 6, dy=button.height // 2)
    time.sleep(0.5)  # a Qt menu has no title to wait for
    road.screenshot("export-menu")
    for _ in range(MENU_ITEMS.index(item) + 1):
        s.key("Down")
    s.key("Return")
    wid = new_window(program, known, ".", 60)
    if wid:
        program.wait_settled(wid)
        road.screenshot("export-message-" + item)
    return wid


def export_pdf(road, program, home, preview):
    """导出图片 → PDF 文件 (整份); answers 否 to opening it; the new file's path."""
    folder = os.path.join(home.path, "C_DATA", "CHEN")
    before = set(os.listdir(folder)) if os.path.isdir(folder) else set()
    wid = export_from_menu(road, program, preview, "PDF 文件 (整份)")
    road.require(wid, "导出图片 → PDF 文件 (整份) answers with a message")
    answer(program, wid, "alt+n")
    new = sorted(f for f in os.listdir(folder) if f.endswith(".pdf") and f not in before)
    road.require(len(new) == 1, "the export wrote one new PDF into C_DATA/CHEN (found %s)" % new)
    return os.path.join(folder, new[0])


def check_export(road, program, home, preview, item, keys, oracle):
    wid = export_from_menu(road, program, preview, item)
    if not road.expect(wid, "导出图片 → %s answers with a message" % item):
        return
    text = message_text(program, wid)
    road.log("the message says: %r" % text)
    folder = os.path.join(home.path, "C_DATA", "CHEN")
    road.expect("C_DATA/CHEN/" in re.sub(r"\s+", "", text),
                "the message's folder is the home's C_DATA/CHEN/ (as it is on disk)")
    road.expect("\\" not in text, "the message's path has no backslashes")
    m = re.search(r"ZORV52_\d{14}", re.sub(r"\s+", "", text))
    if road.expect(m, "the message names a file ZORV52_<date and time>"):
        base = os.path.join(folder, m.group(0))
        written = sorted(glob.glob(base + "*"))
        road.log("files of %s: %s" % (base, written))
        pages = oracle.pages(keys)
        road.log("the report has %d pages" % pages)
        if item == "PDF 文件 (整份)":
            road.expect(written == [base + ".pdf"], "one PDF %s.pdf is there (found %s)" % (base, written))
            if written:
                road.expect(pdf_info(written[0]).get("Pages") == str(pages),
                            "it has the report's %d pages" % pages)
                # The slip title names the slip type entered in the window.
                title = "工单变更单(%s)" % SLIP_TYPE_NAME
                road.expect(title in squeezed(pdf_text(written[0], 1, 1)),
                            "its first page is titled %s" % title)
        else:
            # The shown page (page 1), numbered with three digits.
            wanted = base + "001." + item.lower()
            road.expect(written == [wanted], "the shown page went to %s (found %s)" % (wanted, written))
        stray = [p for p in glob.glob(os.path.join(home.path, "*", "CHEN", m.group(0) + "*"))
                 if not p.startswith(folder + os.sep)]
        road.expect(not stray, "nothing of it went to another folder (found %s)" % stray)
    # 否(N): do not open the file.
    road.expect(answer(program, wid, "alt+n"), "否(N) closes the message")


def road_export(road):
    oracle = Oracle(road)
    home, program, options = start(road)
    keys = slips(home, "TO001=? AND TO041='Y' AND TO042=0", (SLIP_TYPE,))[:2]
    enter_criteria(road, options, SLIP_TYPE, keys[0][1], keys[-1][1])
    preview = open_preview(road, program, options)
    check_export(road, program, home, preview, "PDF 文件 (整份)", keys, oracle)
    check_export(road, program, home, preview, "JPG", keys, oracle)
    close_preview(road, program, preview)
    responds(road, program, options, "exporting from the preview")
