"""Modal windows and closing: after each modal window the options window
still takes input; the close box and Alt+F4 end the program from every
window state."""
from guitest.processes import wait_until
from guitest.program import PREVIEW_TITLE

from .common import SLIP_TYPE, answer, enter_criteria, new_window, responds, slips, start, \
    window_ids
from .designer import designer_title


def close_box(session, wid):
    """The close box of the window's frame (openbox: the right end of the title bar)."""
    x, y, width, _ = session.geometry(wid)
    session.click(x + width - 10, y - 11)


def open_modal(road, program, options, how, title=".", timeout=20):
    """Opens a modal window from the options window by how (keys, or a
    callable) and returns it once it is painted."""
    known = window_ids(program)
    options.activate()
    if callable(how):
        how()
    else:
        program.session.key(how)
    wid = new_window(program, known, title, timeout)
    if wid:
        program.wait_settled(wid)
    return wid


def check_closed(road, program, options, wid, close, what):
    """Closes wid by close (a key, "box" or a callable), answers a question
    about saving with No, and checks the options window takes input after."""
    s = program.session
    known = window_ids(program)
    if close == "box":
        close_box(s, wid)
    elif callable(close):
        close()
    else:
        s.xdotool("windowactivate", "--sync", wid, check=False)
        s.key(close)
    question = new_window(program, known, ".", 2)
    if question and question != wid:
        road.screenshot("question-closing-" + what)
        answer(program, question, "alt+n")
    road.soon(lambda: not s.is_mapped(wid), 10, "%s closes" % what)
    responds(road, program, options, what)


def road_modal(road):
    home, program, options = start(road)
    s = program.session
    key = slips(home, "TO001=? AND TO041='Y' AND TO042=0", (SLIP_TYPE,))[0]

    # A message box: 预览 without a slip type.
    wid = open_modal(road, program, options, "alt+v")
    if road.expect(wid, "预览 without a slip type shows a message"):
        check_closed(road, program, options, wid, "Return", "a message box (确定)")

    enter_criteria(road, options, SLIP_TYPE, key[1], key[1])
    # The scheme dialog, cancelled.
    wid = open_modal(road, program, options, lambda: options.click("btnInsert"))
    if road.expect(wid, "保存 opens the scheme dialog"):
        check_closed(road, program, options, wid, "Escape", "the scheme dialog (Esc)")
    # The F2 look-up of the slip type.
    wid = open_modal(road, program, options, lambda: (options.click("edTO001"), s.key("F2")))
    if road.expect(wid, "F2 in 选择变更单别 opens the look-up window"):
        road.screenshot("lookup")
        check_closed(road, program, options, wid, "Escape", "the F2 look-up (Esc)")
    # The printer and paper dialogs.
    wid = open_modal(road, program, options, "alt+r")
    if road.expect(wid, "设置打印机 opens the printer dialog"):
        check_closed(road, program, options, wid, "Escape", "the printer dialog (Esc)")
    wid = open_modal(road, program, options, "alt+a")
    if road.expect(wid, "纸张格式 opens the paper dialog"):
        road.screenshot("paper-dialog")
        check_closed(road, program, options, wid, "Escape", "the paper dialog (Esc)")
    # The preview, closed by Esc and by its close box.
    wid = open_modal(road, program, options, "alt+v", "^" + PREVIEW_TITLE)
    if road.expect(wid, "预览 opens the preview"):
        check_closed(road, program, options, wid, "Escape", "the preview (Esc)")
    wid = open_modal(road, program, options, "alt+v", "^" + PREVIEW_TITLE)
    if road.expect(wid, "预览 opens the preview again"):
        check_closed(road, program, options, wid, "box", "the preview (close box)")
    # The designer, closed by its close box and by Ctrl+F12.
    wid = open_modal(road, program, options, "alt+e", designer_title("<New>"), 30)
    if road.expect(wid, "设计凭证 opens the designer"):
        check_closed(road, program, options, wid, "box", "the designer (close box)")
    wid = open_modal(road, program, options, "alt+e", designer_title("<New>"), 30)
    if road.expect(wid, "设计凭证 opens the designer again"):
        check_closed(road, program, options, wid, "ctrl+F12", "the designer (Ctrl+F12)")

    options.activate()
    s.key("alt+c")
    road.expect(program.wait_exit(15) == 0, "取消 ends the program with status 0 after all that")


def end_by_closing(road, program, method, what, steps=4):
    """Closes the program's newest window by method ("box" or "alt+F4"),
    answering questions with No, until the program ends; checks it ends
    within steps closes with status 0."""
    s = program.session
    for _ in range(steps):
        if not program.running():
            break
        windows = program.windows()
        if not windows:
            wait_until(lambda: not program.running() or program.windows(), 5)
            continue
        wid = max(windows, key=lambda w: int(w[0]))[0]
        if method == "box":
            close_box(s, wid)
        else:
            s.xdotool("windowactivate", "--sync", wid, check=False)
            s.key("alt+F4")
        known = {w for w, _ in windows}
        asked = wait_until(lambda: program.running() and new_window(program, known, ".", 0), 3)
        if asked:
            # A question the close raised (save the layout?): a person leaving says No.
            program.wait_settled(asked)
            road.screenshot("question-on-close-" + what)
            answer(program, asked, "alt+n")
        wait_until(lambda: not program.running() or not s.is_mapped(wid), 5)
    status = program.wait_exit(10)
    road.expect(status == 0, "%s: the %s ends the program (status %r)" % (
        what, "close box" if method == "box" else "Alt+F4", status))
    if status is None:
        road.screenshot("still-running-" + what)
        program.process.kill()


def road_close(road):
    from guitest.program import DemoHome, Program
    home = DemoHome(road)
    key = slips(home, "TO001=? AND TO041='Y' AND TO042=0", (SLIP_TYPE,))[0]

    def fresh():
        program = Program(road, home)
        return program, program.options_window()

    for method in ("box", "alt+F4"):
        program, options = fresh()
        end_by_closing(road, program, method, "the options window")

        program, options = fresh()
        enter_criteria(road, options, SLIP_TYPE, key[1], key[1])
        if road.expect(open_modal(road, program, options, "alt+v", "^" + PREVIEW_TITLE),
                       "the preview is open"):
            end_by_closing(road, program, method, "the preview open")
        else:
            program.process.kill()

        program, options = fresh()
        enter_criteria(road, options, SLIP_TYPE, key[1], key[1])
        if road.expect(open_modal(road, program, options, "alt+e", designer_title("<New>"), 30),
                       "the designer is open"):
            end_by_closing(road, program, method, "the designer open", steps=5)
        else:
            program.process.kill()

        program, options = fresh()
        if road.expect(open_modal(road, program, options, "alt+v"), "a message box is open"):
            end_by_closing(road, program, method, "a message box open")
        else:
            program.process.kill()
