"""The designer's "Word doc转emf图档": the converter of the home's C_HVBIN
(a stand-in for doc2emf that answers with a picture it made) runs from the
designer's pop-up menu, and the picture is behind the pages of the format
saved then, in the preview's PDF."""
import os
import subprocess
import time

from guitest.processes import wait_until

from .common import SLIP_TYPE, answer, close_preview, enter_criteria, new_window, open_preview, slips, \
    start, window_ids
from .designer import FOOTER_SPOT, at, close_designer, designer_title
from .export import export_pdf

FORMAT = "GUIBG"
# The stand-in's picture: one colour no slip prints.
COLOUR = (170, 210, 250)


def stand_in(home):
    """C_HVBIN/doc2emf that records its arguments, writes the picture and
    prints its path as doc2emf does."""
    picture = os.path.join(home.path, "C_TEMP", "background.ppm")
    with open(picture, "wb") as f:
        f.write(b"P6 40 30 255\n" + bytes(COLOUR) * (40 * 30))
    png = os.path.join(home.path, "C_TEMP", "background.png")
    subprocess.run(["convert", picture, png], check=True, timeout=30)
    tool = os.path.join(home.path, "C_HVBIN", "doc2emf")
    with open(tool, "w") as f:
        f.write("#!/bin/sh\necho \"$#\" > \"%s.args\"\necho \"%s\"\n" % (tool, png))
    os.chmod(tool, 0o755)
    return tool


def colour_at(pdf, x_share, y_share):
    """The colour of page 1 of a PDF at a point given as shares of its size."""
    ppm = subprocess.run(["pdftoppm", "-f", "1", "-l", "1", "-r", "30", pdf], capture_output=True,
                         timeout=60).stdout
    magic, size, depth, pixels = ppm.split(b"\n", 3)  # pdftoppm writes "P6\nW H\n255\n" and the pixels
    width, height = (int(v) for v in size.split())
    offset = (int(height * y_share) * width + int(width * x_share)) * 3
    return tuple(pixels[offset:offset + 3])


def road_background(road):
    home, program, options = start(road)
    s = program.session
    tool = stand_in(home)
    key = slips(home, "TO001=? AND TO041='Y' AND TO042=0", (SLIP_TYPE,))[0]
    enter_criteria(road, options, SLIP_TYPE, key[1], key[1])
    known = window_ids(program)
    options.activate()
    s.key("alt+e")
    designer = new_window(program, known, designer_title("<New>"), 30)
    road.require(designer, "设计凭证 opens the designer")
    program.wait_settled(designer)

    # The pop-up menu on the report: its second item.
    s.click(*at(s, designer, FOOTER_SPOT), button=3)
    time.sleep(0.6)
    road.screenshot("designer-menu")
    s.key("Down")
    s.key("Down")
    s.key("Return")
    road.soon(lambda: os.path.exists(tool + ".args"), 10, "Word doc转emf图档 starts C_HVBIN/doc2emf")
    if os.path.exists(tool + ".args"):
        road.expect(open(tool + ".args").read().strip() == "0",
                    "it starts without arguments (the tool asks for the document itself)")
    time.sleep(1)

    known = window_ids(program)
    s.xdotool("windowactivate", "--sync", designer, check=False)
    s.key("ctrl+n")
    ask = new_window(program, known, ".", 10)
    road.require(ask, "Ctrl+N asks the format's name")
    program.wait_settled(ask)
    s.key("ctrl+a")
    s.type(FORMAT)
    known = window_ids(program)
    s.key("Return")
    wait_until(lambda: not s.is_mapped(ask), 10)
    done = new_window(program, known - {ask}, ".", 10)
    if done:
        program.wait_settled(done)
        answer(program, done, "Return")
    close_designer(road, program, designer, "alt+n")

    preview = open_preview(road, program, options)
    exported = export_pdf(road, program, home, preview)
    close_preview(road, program, preview)
    if exported:
        # An empty spot of the sheet, between the header and the lines' end.
        colours = [colour_at(exported, 0.9, y) for y in (0.5, 0.7, 0.85)]
        road.expect(any(all(abs(c - w) <= 12 for c, w in zip(colour, COLOUR)) for colour in colours),
                    "the picture is behind the page (colours on the page: %s, the picture's: %s)"
                    % (colours, COLOUR))
