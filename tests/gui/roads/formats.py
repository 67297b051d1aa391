"""The format box of the options window (打印使用格式) as the slip type
changes: each slip type's own format, else the program's default, never the
format the slip type before had."""
import sqlite3
import time

from guitest.program import DemoHome
from guitest.xsession import read_text

from .common import _tab_point, start



def prepare(home):
    """Stored formats WIDE A4 and PLAIN of the change-slip layout; A511 names
    WIDE A4, A512 a format deleted since; the program's default is PLAIN."""
    with sqlite3.connect(home.database, timeout=10) as db:
        db.executemany("INSERT INTO WARRANT (NT001, NT002, NT005) VALUES ('TfrmZorv52Fmt', ?, '')",
                       [("PLAIN",), ("WIDE A4",)])
        db.execute("UPDATE CMSMQ SET MQ010 = 'WIDE A4' WHERE MQ001 = 'A511'")
        db.execute("UPDATE CMSMQ SET MQ010 = 'GONE' WHERE MQ001 = 'A512'")
        db.execute("UPDATE CMSMT SET MT014 = 'PLAIN' WHERE MT001 = 'ZORV52'")


def show_page(options, index):
    options.activate()
    options.click_at(*_tab_point(options, index))
    time.sleep(0.4)


def format_page(options):
    """The tab index of the page that holds 打印使用格式 (tsOption2, 系统选项:
    the third tab, after 基本选项 and 高级选项)."""
    return 2


def format_box(road, program, options, what):
    """The text of 打印使用格式, read from the screen."""
    show_page(options, format_page(options))
    x, y = options.layout.origin("cboFormStyleName")
    c = options.layout.control("cboFormStyleName")
    road.screenshot("format-box-" + what)
    text = read_text(program.session, options.wid, scale=300, area=(x, y, c.width - 18, c.height),
                     languages="eng", layout=7)
    road.log("打印使用格式 reads %r %s" % (text.strip(), what))
    # Its words; the OCR may read a mark of the box's edge after them.
    return text.upper().split()


def slip_type(options, text):
    """The slip type typed into 选择变更单别 and left by Tab."""
    show_page(options, 0)
    s = options.session
    options.click("edTO001")
    s.key("ctrl+a")
    s.type(text)
    s.key("Tab")
    time.sleep(0.5)


def road_formats(road):
    home = DemoHome(road)
    prepare(home)
    _, program, options = start(road, home=home)

    slip_type(options, "A511")
    road.expect(format_box(road, program, options, "after A511")[:2] == ["WIDE", "A4"],
                "A511 brings the format it names (WIDE A4)")
    slip_type(options, "A512")
    road.expect(format_box(road, program, options, "after A512")[:1] == ["PLAIN"],
                "A512, whose format is gone, gets the program's default PLAIN, not A511's WIDE A4")
