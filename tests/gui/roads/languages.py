"""Homes in the other languages: made with --code-page 437 (English) and
--code-page 950 (traditional Chinese), the program shows its windows in
that language: the options window's pages, a message box, the scheme
dialog, the preview with a slip, the designer and an e-mail send (subject
dialog, the send window, its closing message). Each window is checked by
its title and, for message boxes, by what they say; every window is kept
as a screenshot for a person's eye."""
import re
import time

from guitest.program import DemoHome, Program
from guitest.services import MailServer
from guitest.xsession import read_text

from .common import SLIP_TYPE, _tab_point, answer, enter_criteria, message_text, new_window, shows, window_ids
from .designer import designer_title
from .sending import supplier_slips

LANGUAGES = {
    # code page: (label, options window, preview, the message of 预览 without a slip type, OCR languages)
    437: ("english", "Print Work Order Change Slips", "Slip Preview", "Please enter Slip type", "eng"),
    950: ("traditional", "工單變更單列印", "憑證預覽", None, "chi_sim+eng"),
}

PAGES = 4  # the options window's pages with the Fax/Email page shown


def no_han(text):
    return not re.search(r"[\u3400-\u9fff]", text)


def modal(program, options, how, pattern=".", timeout=20):
    known = window_ids(program)
    options.activate()
    how()
    wid = new_window(program, known, pattern, timeout)
    if wid:
        program.wait_settled(wid)
    return wid


def walk(road, code_page, mail):
    label, options_title, preview_title, empty_message, ocr = LANGUAGES[code_page]
    home = DemoHome(road, folder="%s/home-%s" % (road.folder, label), code_page=code_page)
    for key, value in (("Server", "127.0.0.1"), ("Port", str(mail.port)), ("Security", "None"),
                       ("From", "erp@hv01.example.com"), ("Timeout", "20")):
        home.set_client_setting("Mail", key, value)
    program = Program(road, home, features="FEP")
    options = program.options_window(title=re.escape(options_title))
    s = program.session
    title = s.title(options.wid)
    road.expect(title.startswith(options_title), "%s: the options window is titled %r" % (label, title))
    if code_page == 437:
        road.expect(no_han(title), "%s: no Chinese in the title %r" % (label, title))

    # Every page by its tab (the English words fit the Chinese tabs' places).
    # On the Fax/Email page the send way becomes "Email To 供应商".
    for page in range(PAGES):
        options.click_at(*_tab_point(options, page))
        time.sleep(0.3)
        program.wait_settled(options.wid)
        if page == PAGES - 1:
            group = options.layout.control("rgSendType")
            options.click("rgSendType", dx=group.width // 2 + 8, dy=group.height // 2 + 8)
            time.sleep(0.3)
            options.click("cboSendWay")
            time.sleep(0.4)
            s.key("Home")
            s.key("Down")
            s.key("Return")
            time.sleep(0.3)
            program.wait_settled(options.wid)
        road.screenshot("%s-options-page-%d" % (label, page + 1))
    options.click_at(*_tab_point(options, 0))
    time.sleep(0.3)

    # A message box: 预览 (Alt+V) without a slip type.
    wid = modal(program, options, lambda: s.key("alt+v"))
    if road.expect(wid, "%s: 预览 without a slip type shows a message" % label):
        road.screenshot("%s-message-box" % label)
        text = message_text(program, wid)
        road.log("%s: the message says %r" % (label, text))
        if empty_message:
            road.expect(shows(text, empty_message), "%s: the message reads %r (OCR: %r)" % (label, empty_message, text))
        answer(program, wid, "Return")

    chosen = supplier_slips(home, count=2)
    keys = [c[0] for c in chosen]
    enter_criteria(road, options, SLIP_TYPE, keys[0][1], keys[-1][1])
    road.screenshot("%s-criteria" % label)

    # The scheme dialog (保存), cancelled.
    wid = modal(program, options, lambda: options.click("btnInsert"))
    if road.expect(wid, "%s: 保存 opens the scheme dialog" % label):
        road.screenshot("%s-scheme-dialog" % label)
        s.xdotool("windowactivate", "--sync", wid, check=False)
        s.key("Escape")
        road.soon(lambda: not s.is_mapped(wid), 10, "%s: the scheme dialog closes" % label)

    # The preview with the slips.
    wid = modal(program, options, lambda: s.key("alt+v"), "^" + re.escape(preview_title), 40)
    if road.expect(wid, "%s: 预览 opens the preview titled %r" % (label, preview_title)):
        time.sleep(1)
        road.screenshot("%s-preview" % label)
        preview = program.form(wid, "TfrmVRPreview")
        # E-mail from the preview: the subject dialog, the send window, the closing message.
        known = window_ids(program)
        preview.click("btnEmail")
        subject = new_window(program, known, ".", 15)
        if road.expect(subject, "%s: E-Mail asks for the subject" % label):
            program.wait_settled(subject)
            road.screenshot("%s-subject-dialog" % label)
            known |= {subject}
            s.key("Return")
            shots = 0
            end = None
            deadline = time.monotonic() + 60
            while time.monotonic() < deadline and end is None:
                for w, t in program.windows():
                    if w in known:
                        continue
                    if t.startswith("Send") or t.startswith("傳送"):
                        if shots < 2:
                            road.screenshot("%s-send-window-%d" % (label, shots + 1))
                            shots += 1
                    else:
                        end = w
                time.sleep(0.1)
            if road.expect(end, "%s: the send ends with a message" % label):
                program.wait_settled(end)
                road.screenshot("%s-send-message" % label)
                text = read_text(s, end, languages=ocr)
                road.log("%s: the send message says %r" % (label, text))
                if code_page == 437:
                    road.expect(no_han(text) and shows(text.lower(), "sent"),
                                "%s: the send message is English (OCR: %r)" % (label, text))
                answer(program, end, "Return")
        s.xdotool("windowactivate", "--sync", wid, check=False)
        s.key("Escape")
        road.soon(lambda: not s.is_mapped(wid), 10, "%s: the preview closes" % label)

    # The designer.
    wid = modal(program, options, lambda: s.key("alt+e"), designer_title("<New>"), 30)
    if road.expect(wid, "%s: 设计凭证 opens the designer" % label):
        time.sleep(1)
        road.screenshot("%s-designer" % label)
        known = window_ids(program)
        s.xdotool("windowactivate", "--sync", wid, check=False)
        s.key("ctrl+F12")
        question = new_window(program, known, ".", 3)
        if question:
            road.screenshot("%s-designer-question" % label)
            answer(program, question, "alt+n")
        road.soon(lambda: not s.is_mapped(wid), 10, "%s: the designer closes" % label)

    options.activate()
    s.key("alt+c")
    road.expect(program.wait_exit(15) == 0, "%s: Cancel ends the program with status 0" % label)
    if program.running():
        program.process.kill()  # the next home's windows must not be covered


def road_languages(road):
    mail = MailServer(road).start()
    for code_page in (437, 950):
        walk(road, code_page, mail)
