"""Printing to a real (private) CUPS queue and to a PDF file, and the print
counts of the printed slips."""
import os

from guitest.processes import wait_until
from guitest.qtdialogs import PrintDialog
from guitest.services import PrintServer, pdf_info, pdf_page_slips

from .common import SLIP_TYPE, Oracle, close_preview, enter_criteria, new_window, open_preview, \
    responds, slip_text, slips, start, window_ids


def page_number(key):
    """What pdf_page_slips reads for a page of slip key."""
    return "%s-%s" % (key[1], key[2])


def unprinted(home, count, skip=0):
    keys = slips(home, "TO001=? AND TO041='Y' AND TO042=0", (SLIP_TYPE,))
    return keys[skip:skip + count]


def all_counts(home):
    return {tuple(r[:3]): r[3] for r in home.query("SELECT TO001, TO002, TO003, TO042 FROM MOCTO")}


def check_job(road, cups, oracle, jobs_before, keys, pages=None, what="the job"):
    """One more job completed in the queue; its PDF has the pages of keys (or
    the given page numbers of their print), the slips' numbers and the
    report's title. Returns the PDF's path."""
    files = cups.wait_pdfs(jobs_before + 1, 60)
    if not road.expect(len(files) == jobs_before + 1,
                       "%s reaches the print queue (%d PDF(s) there, %d expected)"
                       % (what, len(files), jobs_before + 1)):
        return None
    path = files[-1]
    owners = oracle.page_owners(keys)
    wanted = pages or list(range(1, len(owners) + 1))
    info = pdf_info(path)
    road.expect(info.get("Pages") == str(len(wanted)),
                "%s has %d page(s) (pdfinfo: %s)" % (what, len(wanted), info.get("Pages")))
    expected = [page_number(owners[p - 1]) for p in wanted if p <= len(owners)]
    found = pdf_page_slips(path)
    road.expect(found == expected, "%s: its pages show the slips %s (read: %s)" % (what, expected, found))
    title = oracle.title(keys[0])
    names = [name for _, name in cups.job_totals().values()]
    road.expect(names and names[-1] == title,
                "%s is titled %r (the queue's job name: %r)" % (what, title, names[-1] if names else None))
    return path


def accept_print_dialog(road, program, dialog, what):
    """打印(P) in Qt's print dialog; True when the dialog closed. A message it
    shows instead (a refused entry) is recorded, answered, and the dialog
    cancelled."""
    known = window_ids(program)
    dialog.accept()
    if wait_until(lambda: not program.session.is_mapped(dialog.wid), 10):
        road.log("ok: the print dialog closes after 打印(P) (%s)" % what)
        return True
    message = new_window(program, known, ".", 2)
    road.expect(False, "the print dialog takes 打印(P) with %s (it stays open%s)" % (
        what, ", with a message titled %r" % program.session.title(message) if message else ""))
    if message:
        program.session.key("Return")
        wait_until(lambda: not program.session.is_mapped(message), 5)
    dialog.cancel()
    program.wait_gone(dialog.wid, 10, "the print dialog closes after Escape")
    return False


def road_print(road):
    cups = PrintServer(road).start()
    oracle = Oracle(road)
    home, program, options = start(road, extra_env=cups.env)
    s = program.session

    # 打印 (Alt+P) in the options window: to the default printer, the queue.
    keys = unprinted(home, 3)
    enter_criteria(road, options, SLIP_TYPE, keys[0][1], keys[-1][1])
    options.activate()
    s.key("alt+p")
    check_job(road, cups, oracle, 0, keys, what="打印 from the options window")
    road.screenshot("after-print-from-options")
    responds(road, program, options, "printing from the options window")

    # 打印 in the preview (Ctrl+P), pages 2-3 in Qt's print dialog.
    keys = unprinted(home, 3)
    enter_criteria(road, options, SLIP_TYPE, keys[0][1], keys[-1][1])
    preview = open_preview(road, program, options)
    known = window_ids(program)
    s.key("ctrl+p")
    wid = new_window(program, known, "^打印$", 15)
    if road.expect(wid, "Ctrl+P in the preview opens the print dialog (打印)"):
        dialog = PrintDialog(program, wid)
        dialog.show_options()
        dialog.pages("2-3")
        road.screenshot("print-dialog-pages-2-3")
        if accept_print_dialog(road, program, dialog, "pages 2-3"):
            check_job(road, cups, oracle, 1, keys, pages=[2, 3], what="打印 of pages 2-3 from the preview")
    road.screenshot("after-print-from-preview")

    # The same dialog to Qt's PDF file printer.
    target = os.path.join(road.folder, "print-to-file.pdf")
    known = window_ids(program)
    preview.activate()
    s.key("ctrl+p")
    wid = new_window(program, known, "^打印$", 15)
    if road.expect(wid, "Ctrl+P opens the print dialog a second time"):
        dialog = PrintDialog(program, wid)
        dialog.choose_pdf_file(target)
        road.screenshot("print-dialog-to-file")
        if accept_print_dialog(road, program, dialog, "to a file") and road.soon(
                lambda: os.path.exists(target) and os.path.getsize(target) > 0, 30,
                "打印 to file writes %s" % target):
            wait_until(lambda: pdf_info(target).get("Pages"), 10)
            road.expect(pdf_info(target).get("Pages") == str(oracle.pages(keys)),
                        "the printed file has the %d pages of the slips (pdfinfo: %s)"
                        % (oracle.pages(keys), pdf_info(target).get("Pages")))
            road.expect(pdf_page_slips(target) == [page_number(k) for k in oracle.page_owners(keys)],
                        "the printed file's pages show the slips in order")
    road.screenshot("after-print-to-file")
    close_preview(road, program, preview)

    # 设置打印机 (Alt+R): Qt's PDF file printer, then 打印 in the options window.
    target = os.path.join(road.folder, "setup-print-to-file.pdf")
    keys = unprinted(home, 1)
    enter_criteria(road, options, SLIP_TYPE, keys[0][1], keys[0][1])
    known = window_ids(program)
    options.activate()
    s.key("alt+r")
    wid = new_window(program, known, ".", 15)
    if road.expect(wid, "设置打印机 opens the printer dialog"):
        program.wait_settled(wid)
        road.screenshot("printer-setup-dialog")
        dialog = PrintDialog(program, wid)
        dialog.choose_pdf_file(target)
        road.screenshot("printer-setup-to-file")
        s.key("Return")
        program.wait_gone(wid, 10, "the printer dialog closes")
        known = window_ids(program)
        options.activate()
        s.key("alt+p")
        if road.soon(lambda: os.path.exists(target) and os.path.getsize(target) > 0, 30,
                     "打印 after choosing the PDF file printer under 设置打印机 writes %s" % target):
            wait_until(lambda: pdf_info(target).get("Pages"), 10)
            road.expect(pdf_info(target).get("Pages") == str(oracle.pages(keys)),
                        "that file has the slip's %d page(s) (pdfinfo: %s)"
                        % (oracle.pages(keys), pdf_info(target).get("Pages")))
        stray = new_window(program, known, ".", 2)
        if stray:
            road.screenshot("message-after-print-to-file")
            road.expect(False, "打印 to the chosen file printer shows no message (a window %r opened)"
                        % s.title(stray))
            s.key("Return")


def road_counts(road):
    """The print count (TO042) of exactly the printed slips rises by one."""
    cups = PrintServer(road).start()
    home, program, options = start(road, extra_env=cups.env)
    s = program.session
    before = all_counts(home)
    keys = unprinted(home, 2)
    enter_criteria(road, options, SLIP_TYPE, keys[0][1], keys[-1][1])
    options.activate()
    s.key("alt+p")
    cups.wait_pdfs(1, 60)
    road.soon(lambda: all(all_counts(home)[k] == before[k] + 1 for k in keys), 10,
              "打印 in the options window raises TO042 of %s by one" % [slip_text(k) for k in keys])
    after = all_counts(home)
    changed = sorted(k for k in after if after[k] != before[k])
    road.expect(changed == sorted(keys), "no other slip's TO042 changed (changed: %s)"
                % [slip_text(k) for k in changed])

    # The preview's 打印 counts the slips it printed.
    before = after
    keys = unprinted(home, 2)
    enter_criteria(road, options, SLIP_TYPE, keys[0][1], keys[-1][1])
    preview = open_preview(road, program, options)
    road.expect(all_counts(home) == before, "previewing changes no print count")
    known = window_ids(program)
    s.key("ctrl+p")
    wid = new_window(program, known, "^打印$", 15)
    if road.expect(wid, "Ctrl+P in the preview opens the print dialog"):
        program.wait_settled(wid)
        PrintDialog(program, wid).accept()
        program.wait_gone(wid, 10, "the print dialog closes")
        cups.wait_pdfs(2, 60)
        road.soon(lambda: all(all_counts(home)[k] == before[k] + 1 for k in keys), 10,
                  "打印 in the preview raises TO042 of %s by one" % [slip_text(k) for k in keys])
        after = all_counts(home)
        changed = sorted(k for k in after if after[k] != before[k])
        road.expect(changed == sorted(keys), "no other slip's TO042 changed (changed: %s)"
                    % [slip_text(k) for k in changed])
    close_preview(road, program, preview)
