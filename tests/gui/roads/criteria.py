"""The main road: criteria, preview, close, other criteria, preview, 取消."""
from guitest.xsession import read_text

from .common import SLIP_TYPE, close_preview, enter_criteria, open_preview, responds, shows, \
    slips, start


def page_header(program, preview):
    """The text of the top of the preview's page area (title, slip number)."""
    x, y = preview.layout.origin("QRPreview")
    _, _, width, _ = program.session.geometry(preview.wid)
    return read_text(program.session, preview.wid, scale=200, area=(x, y, width, 200))


def preview_says(road, program, preview, *fragments):
    """The preview's first page shows the fragments (read from its pixels)."""
    text = page_header(program, preview)
    return road.expect(shows(text, *fragments), "the preview shows %s" % " ".join(fragments))


def road_criteria(road):
    home, program, options = start(road)
    first, second = [k for k in slips(home, "TO001=? AND TO041='Y' AND TO042=0", (SLIP_TYPE,))][:2]
    road.log("slips of the road: %s, %s" % ("-".join(first), "-".join(second)))

    enter_criteria(road, options, SLIP_TYPE, first[1], first[1])
    preview = open_preview(road, program, options)
    preview_says(road, program, preview, "-".join(first))
    close_preview(road, program, preview)
    responds(road, program, options, "the preview closed by 退出")

    enter_criteria(road, options, SLIP_TYPE, second[1], second[1])
    preview = open_preview(road, program, options, how="click")
    preview_says(road, program, preview, "-".join(second))
    road.expect(not shows(page_header(program, preview), "-".join(first)),
                "the second preview no longer shows %s" % "-".join(first))
    close_preview(road, program, preview)

    options.activate()
    options.click("btnCancel")
    status = program.wait_exit(15)
    road.expect(status == 0, "取消 ends the program with status 0 (got %r)" % status)
