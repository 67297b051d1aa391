"""Sending from the preview: e-mail to a local SMTP server, fax to a
stand-in sendfax; the send log (ADMTA) and the send counts (TO053)."""
import time

from guitest.processes import wait_until
from guitest.services import FaxStandIn, MailServer, pdf_info

from .common import SLIP_TYPE, Oracle, _tab_point, close_preview, enter_criteria, message_text, new_window, \
    open_preview, responds, shows, slip_text, start, window_ids

FEATURES = "FEP"  # the Fax/Email page and the preview's E-Mail and Fax buttons


def supplier_slips(home, count=3, skip=()):
    """count consecutive approved, unprinted A511 slips of two suppliers at
    least: [(key, supplier, e-mail, fax)]."""
    rows = home.query(
        "SELECT o.TO001, o.TO002, o.TO003, o.TO033, p.MA011, p.MA010 FROM MOCTO o "
        "JOIN PURMA p ON p.MA001 = o.TO033 "
        "WHERE o.TO001=? AND o.TO041='Y' AND o.TO042=0 AND o.TO053=0 ORDER BY o.TO001, o.TO002, o.TO003",
        (SLIP_TYPE,))
    for i in range(len(rows) - count + 1):
        window = rows[i:i + count]
        if len({r[3] for r in window}) >= 2 and not any(tuple(r[:3]) in skip for r in window):
            return [((r[0], r[1], r[2]), r[3], r[4], r[5]) for r in window]
    raise RuntimeError("the demo home has no %d neighbouring slips of two suppliers" % count)


def choose_send_way(road, program, options, item):
    """Fax/Email选项: 选择传送方式 "Fax/Email", then item of 选择FAX/Email传送方式
    (0 "FAX To 供应商", 1 "Email To 供应商")."""
    s = program.session
    options.click_at(*_tab_point(options, 3))
    program.wait_settled(options.wid)
    group = options.layout.control("rgSendType")
    # Two columns: the second item's button is in the right half, below the caption.
    before = options.pixels()
    options.click("rgSendType", dx=group.width // 2 + 8, dy=group.height // 2 + 8)
    road.expect(wait_until(lambda: options.pixels() != before, 3),
                "a click on 选择传送方式 \"Fax/Email\" changes the page")
    program.wait_settled(options.wid)
    options.click("cboSendWay")
    time.sleep(0.4)
    s.key("Home")
    for _ in range(item):
        s.key("Down")
    s.key("Return")
    time.sleep(0.3)
    road.screenshot("send-way-%d" % item)
    options.click_at(*_tab_point(options, 0))
    time.sleep(0.3)


def send_log(home):
    return home.query("SELECT TA001, TA002, TA003, TA004, TA005, TA006 FROM ADMTA ORDER BY rowid")


def send_counts(home, keys):
    return [home.query("SELECT TO053 FROM MOCTO WHERE TO001=? AND TO002=? AND TO003=?", k)[0][0]
            for k in keys]


def finish_send(road, program, known, what):
    """Answers the subject dialog (Enter takes the proposed subject) and waits
    for the message that ends the run; returns (its id, its text)."""
    s = program.session
    subject = new_window(program, known, "^E-Mail$", 15)
    if subject:
        program.wait_settled(subject)
        road.screenshot("subject-dialog")
        s.key("Return")
        wait_until(lambda: not s.is_mapped(subject), 10)
        known = known | {subject}
    # The send window (pages being sent) may come and go first: the run's
    # end is the first new window that is still there once it has settled.
    deadline = time.time() + 60
    while True:
        end = new_window(program, known, ".", max(1, deadline - time.time()))
        if end:
            program.wait_settled(end)
            if not s.is_mapped(end):
                known = known | {end}
                continue
        break
    if not road.expect(end, "%s ends with a message to the user" % what):
        return None, ""
    road.screenshot("send-message")
    text = message_text(program, end)
    road.log("the message says: %r" % text)
    return end, text


def send_from_preview(road, program, options, way, keys, button, **offset):
    """Chooses the send way, enters the slips' number range, opens the
    preview and presses its send button; the windows known before the
    press, to find what the run shows."""
    choose_send_way(road, program, options, way)
    enter_criteria(road, options, SLIP_TYPE, keys[0][1], keys[-1][1])
    preview = open_preview(road, program, options)
    known = window_ids(program)
    preview.click(button, **offset)
    return preview, known


def road_email(road):
    mail = MailServer(road).start()
    oracle = Oracle(road)
    from guitest.program import DemoHome
    home = DemoHome(road)
    for key, value in (("Server", "127.0.0.1"), ("Port", str(mail.port)), ("Security", "None"),
                       ("From", "erp@hv01.example.com"), ("Timeout", "20")):
        home.set_client_setting("Mail", key, value)
    _, program, options = start(road, home=home, features=FEATURES)
    s = program.session
    chosen = supplier_slips(home)
    keys = [c[0] for c in chosen]
    road.log("slips: %s" % [(slip_text(k), sup, mail_) for k, sup, mail_, _ in chosen])
    log_before = send_log(home)
    counts_before = send_counts(home, keys)

    preview, known = send_from_preview(road, program, options, 1, keys, "btnEmail")
    end, text = finish_send(road, program, known, "E-Mail from the preview")
    wait_until(lambda: len(mail.messages()) >= 2, 20)
    messages = mail.messages()
    by_supplier = {}
    for key, supplier, address, _ in chosen:
        by_supplier.setdefault(address, []).append(key)
    road.expect(sorted(m["rcpt_tos"][0] for m in messages if m["rcpt_tos"]) == sorted(by_supplier),
                "one message per supplier: %s (arrived: %s)" % (
                    sorted(by_supplier), [m["rcpt_tos"] for m in messages]))
    for m in messages:
        wanted = by_supplier.get(m["rcpt_tos"][0] if m["rcpt_tos"] else "", [])
        pages = oracle.pages(wanted)
        road.expect(len(m["attachments"]) == pages,
                    "the message to %s carries the %d page(s) of its slip(s) as %d attachment(s)"
                    % (m["rcpt_tos"], pages, len(m["attachments"])))
    rows = send_log(home)[len(log_before):]
    road.log("send log rows: %s" % rows)
    road.expect(len(rows) == len(by_supplier) and all("Y" in r for r in rows),
                "ADMTA gets one Y row per supplier (%d rows: %s)" % (len(rows), rows))
    groups = [g for (g,) in home.query("SELECT USR_GROUP FROM ADMTA ORDER BY rowid")][len(log_before):]
    road.expect(groups and all(g == "PMC" for g in groups),
                "every ADMTA row names CHEN's group PMC (USR_GROUP: %s)" % groups)
    road.expect(send_counts(home, keys) == [c + 1 for c in counts_before],
                "TO053 of the sent slips rose by one (%s → %s)" % (counts_before, send_counts(home, keys)))
    if end:
        s.key("Return")
        wait_until(lambda: not s.is_mapped(end), 10)

    # A server that refuses the recipients: a visible message and an N row.
    refusing = MailServer(road, "drop").start()
    program_log_before = send_log(home)
    close_preview(road, program, preview)
    options.activate()
    s.key("alt+c")
    road.expect(program.wait_exit(15) == 0, "取消(C) ends the program")
    home.set_client_setting("Mail", "Port", str(refusing.port))
    _, program, options = start(road, home=home, features=FEATURES)
    s = program.session
    keys = [c[0] for c in supplier_slips(home, skip=set(keys))]
    counts_before = send_counts(home, keys)
    preview, known = send_from_preview(road, program, options, 1, keys, "btnEmail")
    end, text = finish_send(road, program, known, "E-Mail to a server that drops the connection")
    road.expect(end and not shows(text, "Complete"), "the message does not claim success")
    rows = send_log(home)[len(program_log_before):]
    road.log("send log rows: %s" % rows)
    road.expect(rows and all("N" in r for r in rows), "ADMTA gets N rows (%s)" % rows)
    road.expect(send_counts(home, keys) == counts_before, "TO053 of the slips that did not go stays")
    if end:
        s.key("Return")
        wait_until(lambda: not s.is_mapped(end), 10)
    close_preview(road, program, preview)
    responds(road, program, options, "a failed e-mail run")


def road_fax(road):
    fax = FaxStandIn(road).start()
    oracle = Oracle(road)
    from guitest.program import DemoHome
    home = DemoHome(road)
    home.set_client_setting("Fax", "Server1", "总公司传真|faxhost.example.com")
    home.set_client_setting("Fax", "SendFax", fax.program)
    home.set_client_setting("Fax", "Timeout", "30")
    _, program, options = start(road, home=home, features=FEATURES)
    s = program.session
    chosen = supplier_slips(home)
    keys = [c[0] for c in chosen]
    log_before = send_log(home)
    counts_before = send_counts(home, keys)
    # the button, not its drop-down arrow
    preview, known = send_from_preview(road, program, options, 0, keys, "btnFax", dx=20, dy=12)
    end = new_window(program, known, ".", 45)
    # The fax run may show a progress window first; wait for the last word.
    deadline = time.monotonic() + 45
    while end and time.monotonic() < deadline:
        later = new_window(program, known | {end}, ".", 1)
        if later:
            end = later
        elif s.is_mapped(end):
            break
        else:
            end = new_window(program, known, ".", 5)
    road.screenshot("after-fax")
    runs = wait_until(lambda: fax.runs(), 10) or []
    numbers = {}
    for _, supplier, _, number in chosen:
        numbers.setdefault(number, supplier)
    road.log("sendfax runs: %s" % [r[0] for r in runs])
    road.expect(len(runs) == len(numbers), "one sendfax run per supplier (%d, expected %d)"
                % (len(runs), len(numbers)))
    for args, files in runs:
        road.expect("-h" in args and args[args.index("-h") + 1] == "faxhost.example.com",
                    "sendfax gets the server of the [Fax] section (-h faxhost.example.com)")
        number = args[args.index("-d") + 1] if "-d" in args else None
        road.expect(number in numbers, "sendfax dials a supplier's number (-d %s)" % number)
        supplier = numbers.get(number)
        wanted = [k for k, sup, _, _ in chosen if sup == supplier]
        pages = sum(int(pdf_info(f).get("Pages", "0") or 0) for f in files)
        road.expect(pages == oracle.pages(wanted),
                    "sendfax gets the %d page(s) of %s's slips (%d in %d file(s))"
                    % (oracle.pages(wanted), supplier, pages, len(files)))
    rows = send_log(home)[len(log_before):]
    road.log("send log rows: %s" % rows)
    road.expect(len(rows) == len(numbers) and all("Y" in r for r in rows),
                "ADMTA gets one Y row per supplier (%s)" % rows)
    road.expect(send_counts(home, keys) == [c + 1 for c in counts_before],
                "TO053 of the faxed slips rose by one")
    if end and s.is_mapped(end):
        text = message_text(program, end)
        road.log("the message says: %r" % text)
        s.key("Return")
    close_preview(road, program, preview)
    responds(road, program, options, "a fax run")
