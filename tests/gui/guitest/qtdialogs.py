"""Qt's own dialogs (print, page setup, file), which have no form description.

They are laid out by Qt's style; the points below are in the dialog's
client area as Qt 6's Fusion style lays them out with the program's fonts on
the run's X server (1280x1024, 96 dpi), with the options of the print dialog
shown (选项(O) >>). Keys are used where the dialog has them: its mnemonics
in Qt's Chinese translation (名称(N), 选项(O), 打印(P)) and Enter/Escape.
"""
import time

from .processes import wait_until

# QPrintDialog with its options shown (444 x 376).
PRINT_PAGES_RADIO = (38, 273)   # 页数 [ranges]
PRINT_PAGES_TEXT = (140, 273)   # the page-ranges field beside it
PRINT_OUTPUT_FILE = (245, 121)  # 输出文件(F), enabled for the PDF file printer


class PrintDialog:
    def __init__(self, program, wid):
        self.program = program
        self.session = program.session
        self.wid = wid

    def _click(self, point):
        x, y, _, _ = self.session.geometry(self.wid)
        self.session.click(x + point[0], y + point[1])

    def show_options(self):
        """选项(O) >>: the dialog grows to show the page range and copies."""
        _, _, _, height = self.session.geometry(self.wid)
        self.session.key("alt+o")
        wait_until(lambda: self.session.geometry(self.wid)[3] > height, 5)
        self.program.wait_settled(self.wid)

    def pages(self, ranges):
        """Prints only these pages ("2-3")."""
        self._click(PRINT_PAGES_RADIO)
        self._click(PRINT_PAGES_TEXT)
        self.session.key("ctrl+a")
        self.session.type(ranges)

    def choose_pdf_file(self, path):
        """名称(N): the last printer of the list, Qt's "打印到文件 (PDF)", then the file."""
        self.session.key("alt+n")
        self.session.key("End")
        time.sleep(0.5)
        self._click(PRINT_OUTPUT_FILE)
        self.session.key("ctrl+a")
        self.session.type(path)

    def accept(self):
        """打印(P)."""
        self.session.key("alt+p")

    def cancel(self):
        self.session.key("Escape")
