"""The services a road's program talks to, private to the run.

PrintServer: a CUPS daemon of the run's own (configuration, spool, logs in
the run folder; a socket there and a loopback port), with one cups-pdf queue
"gui-pdf" as the default destination. cups-pdf reads its settings from the
fixed path /etc/cups/cups-pdf.conf, so the daemon runs in a mount namespace of
its own in which the run's configuration folder is bound over /etc/cups: the
queue's PDFs land in the run folder and the machine's CUPS is left alone.
Where no mount namespace can be made, the queue is a file: device writing
the filtered job as PDF instead (kind tells which).

MailServer: the mail tests' aiosmtpd server (tests/suite/mail/smtp_server.py)
on 127.0.0.1; every message arrives as <n>.eml and <n>.json in its folder.

FaxStandIn: an executable that takes sendfax's arguments, records them
with copies of the files it was given, and exits 0.
"""
import glob
import json
import os
import re
import shutil
import socket
import subprocess

from .processes import wait_until

# The interpreter with aiosmtpd: Debian's python3-aiosmtpd installs for /usr/bin/python3.
SYSTEM_PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else "python3"

# Final format PDF: the job passes pdftopdf (page ranges, copies) and reaches the file as PDF.
_PDF_FILE_PPD = """*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "GUIPDF.PPD"
*Manufacturer: "Test"
*Product: "(PDF file)"
*ModelName: "PDF file"
*ShortNickName: "PDF file"
*NickName: "PDF file"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsVersion: 2.4
*cupsFilter2: "application/vnd.cups-pdf application/pdf 0 -"
*OpenUI *PageSize: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageSize Letter/Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageSize
*DefaultImageableArea: A4
*ImageableArea A4/A4: "0 0 595 842"
*ImageableArea Letter/Letter: "0 0 612 792"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/Letter: "612 792"
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class PrintServer:
    QUEUE = "gui-pdf"

    def __init__(self, road):
        self.road = road
        self.root = os.path.join(road.folder, "cups")
        self.pdf_dir = os.path.join(road.folder, "printed")
        self.socket = os.path.join(self.root, "cups.sock")
        self.kind = None
        self.file_counter = 0

    def start(self):
        for sub in ("etc", "spool", "spool/tmp", "cache", "state", "log"):
            os.makedirs(os.path.join(self.root, sub), exist_ok=True)
        os.makedirs(self.pdf_dir, exist_ok=True)
        # Filters run as user lp: the spool and the run folder must let them in.
        for path in (self.road.folder, self.root, self.pdf_dir, os.path.join(self.root, "spool"),
                     os.path.join(self.root, "spool/tmp")):
            os.chmod(path, 0o777 if path.endswith("tmp") or path == self.pdf_dir else 0o755)
        self.port = free_port()
        etc = os.path.join(self.root, "etc")
        with open(os.path.join(etc, "cups-files.conf"), "w") as f:
            f.write("\n".join([
                "ServerRoot " + etc,
                "RequestRoot " + os.path.join(self.root, "spool"),
                "TempDir " + os.path.join(self.root, "spool/tmp"),
                "CacheDir " + os.path.join(self.root, "cache"),
                "StateDir " + os.path.join(self.root, "state"),
                "DataDir /usr/share/cups",
                "ServerBin /usr/lib/cups",
                "AccessLog " + os.path.join(self.root, "log/access_log"),
                "ErrorLog " + os.path.join(self.root, "log/error_log"),
                "PageLog " + os.path.join(self.root, "log/page_log"),
                "FileDevice Yes",
                "SystemGroup root",
                ""]))
        with open(os.path.join(etc, "cupsd.conf"), "w") as f:
            f.write("\n".join([
                "Listen 127.0.0.1:%d" % self.port,
                "Listen " + self.socket,
                "LogLevel info",
                'PageLogFormat "%p %j %P %C %{job-name}"',
                "Browsing No",
                "WebInterface No",
                "DefaultAuthType None",
                "PreserveJobHistory Yes",
                "<Location />", "  Order allow,deny", "  Allow all", "</Location>",
                "<Policy default>", "  <Limit All>", "    Order deny,allow", "  </Limit>",
                "</Policy>", ""]))
        with open(os.path.join(etc, "cups-pdf.conf"), "w") as f:
            f.write("Out %s\nAnonDirName %s\nGrp root\nLabel 1\nLog %s\n" % (
                self.pdf_dir, self.pdf_dir, os.path.join(self.root, "log")))
        self.env = {"CUPS_SERVER": self.socket}
        conf = os.path.join(etc, "cupsd.conf")
        files = os.path.join(etc, "cups-files.conf")
        private = ["unshare", "-m", "--propagation", "private", "sh", "-c",
                   'mount --bind "$0" /etc/cups && exec cupsd -f -c "$1" -s "$2"', etc, conf, files]
        # ZORV_GUI_QUEUE=file asks for the file queue even where cups-pdf could run.
        if os.environ.get("ZORV_GUI_QUEUE") != "file" and subprocess.run(
                ["unshare", "-m", "--propagation", "private", "true"], capture_output=True).returncode == 0:
            self.kind = "cups-pdf"
            argv = private
        else:
            self.kind = "file"
            argv = ["cupsd", "-f", "-c", conf, "-s", files]
        self.daemon = self.road.processes.start("cupsd", argv,
                                                log_path=os.path.join(self.root, "log/cupsd.out"))
        if not wait_until(lambda: "is running" in self._lp(["lpstat", "-r"]).stdout, 15):
            raise RuntimeError("the private CUPS daemon does not answer; see %s" % self.root)
        if self.kind == "cups-pdf":
            self._lp(["lpadmin", "-p", self.QUEUE, "-E", "-v", "cups-pdf:/", "-P",
                      "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"], check=True)
        else:
            ppd = os.path.join(self.root, "pdf-file.ppd")
            with open(ppd, "w") as f:
                f.write(_PDF_FILE_PPD)
            self._lp(["lpadmin", "-p", self.QUEUE, "-E", "-v",
                      "file://" + os.path.join(self.pdf_dir, "job.pdf"), "-P", ppd], check=True)
        self._lp(["lpadmin", "-d", self.QUEUE], check=True)
        self.road.log("print server: %s queue %s on %s (port %d)" % (
            self.kind, self.QUEUE, self.socket, self.port))
        return self

    def _lp(self, argv, check=False):
        result = subprocess.run(argv, env=dict(os.environ, CUPS_SERVER=self.socket),
                                capture_output=True, text=True, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError("%s: %s" % (" ".join(argv), result.stderr.strip()))
        return result

    # -- what arrived --
    def completed_jobs(self):
        """[(job id, user, size)] of the queue's completed jobs (lpstat -W completed -o)."""
        out = self._lp(["lpstat", "-W", "completed", "-o", self.QUEUE]).stdout
        jobs = []
        for line in out.splitlines():
            parts = line.split()
            if parts and parts[0].startswith(self.QUEUE + "-"):
                jobs.append((parts[0], parts[1], parts[2]))
        return jobs

    def not_completed_jobs(self):
        out = self._lp(["lpstat", "-W", "not-completed", "-o", self.QUEUE]).stdout
        return [line for line in out.splitlines() if line.strip()]

    def page_log(self):
        path = os.path.join(self.root, "log", "page_log")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8", errors="replace") as f:
            # The daemon writes each line in the quotes of the format.
            return [line.strip().strip('"') for line in f if line.strip()]

    def job_totals(self):
        """{job id: (pages, job name)} from the page log's "total" lines."""
        totals = {}
        for line in self.page_log():
            parts = line.split(" ", 4)
            if len(parts) >= 4 and parts[2] == "total":
                totals[int(parts[1])] = (int(parts[3]), parts[4] if len(parts) > 4 else "")
        return totals

    def pdfs(self):
        """PDF files that arrived, oldest first."""
        if self.kind == "file":
            self._keep_file_jobs()
            files = glob.glob(os.path.join(self.pdf_dir, "job-*.pdf"))
        else:
            files = glob.glob(os.path.join(self.pdf_dir, "*.pdf"))
        return sorted(files, key=os.path.getmtime)

    def _keep_file_jobs(self):
        """The file queue writes every job to the same file: each completed
        job's output is copied aside as job-<id>.pdf once it is done (the
        roads print one job at a time)."""
        target = os.path.join(self.pdf_dir, "job.pdf")
        for job, _, _ in self.completed_jobs():
            copy = os.path.join(self.pdf_dir, "%s.pdf" % job.replace(self.QUEUE, "job"))
            if not os.path.exists(copy) and os.path.exists(target):
                shutil.copyfile(target, copy)

    def wait_pdfs(self, count, timeout=60):
        """Waits until count PDFs are there, whole (the daemon has finished their jobs)."""
        def whole():
            files = self.pdfs()
            return len(files) >= count and not self.not_completed_jobs() and files
        return wait_until(whole, timeout, 0.3) or self.pdfs()


def pdf_info(path):
    """pdfinfo's fields of a PDF ("Pages", "Title", ...) as a dict."""
    result = subprocess.run(["pdfinfo", path], capture_output=True, text=True, timeout=30)
    info = {}
    for line in result.stdout.splitlines():
        key, _, value = line.partition(":")
        info[key.strip()] = value.strip()
    return info


def pdf_page_slips(path, pattern=r"(\d{11})-(\d{4})"):
    """The slip number and version printed at the top of each page of a PDF
    ("20241102001-0001"), page 1 first (None for a page without one). Read
    from the rendered page (pdftoppm and tesseract), since a PDF that went
    through a printer driver keeps no text; the slip type's letters are left
    out, the OCR reads them in either case."""
    info = pdf_info(path)
    found = []
    for page in range(1, int(info.get("Pages", "0") or 0) + 1):
        number = None
        for resolution in (200, 300):  # the OCR misses a number now and then at one size
            picture = subprocess.run(["pdftoppm", "-f", str(page), "-l", str(page), "-r",
                                      str(resolution), "-gray", "-png", path],
                                     capture_output=True, timeout=60).stdout
            top = subprocess.run(["convert", "png:-", "-crop", "100%x25%+0+0", "+repage", "png:-"],
                                 input=picture, capture_output=True, timeout=60).stdout
            text = subprocess.run(["tesseract", "-", "-", "-l", "eng", "--psm", "6"], input=top,
                                  capture_output=True, timeout=60).stdout.decode("utf-8", "replace")
            m = re.search(pattern, re.sub(r"\s+", "", text))
            if m:
                number = "%s-%s" % (m.group(1), m.group(2))
                break
        found.append(number)
    return found


def pdf_text(path, first=None, last=None):
    argv = ["pdftotext", "-layout"]
    if first:
        argv += ["-f", str(first)]
    if last:
        argv += ["-l", str(last)]
    result = subprocess.run(argv + [path, "-"], capture_output=True, text=True, timeout=60)
    return result.stdout


class MailServer:
    def __init__(self, road, mode="accept"):
        self.road = road
        self.mode = mode
        self.folder = os.path.join(road.folder, "mail")

    def start(self):
        os.makedirs(self.folder, exist_ok=True)
        script = os.path.join(self.road.source_dir, "tests", "suite", "mail", "smtp_server.py")
        argv = [SYSTEM_PYTHON, script, self.mode] + ([self.folder] if self.mode == "accept" else [])
        self.process = self.road.processes.start(
            "smtp", argv, stdout=subprocess.PIPE,
            log_path=os.path.join(self.folder, "server.log"))
        line = self.process.stdout.readline().decode()
        if not line.startswith("PORT "):
            raise RuntimeError("the SMTP server did not start: %r" % line)
        self.port = int(line.split()[1])
        self.road.log("mail server (%s) on 127.0.0.1:%d, messages in %s" % (
            self.mode, self.port, self.folder))
        return self

    def messages(self):
        """The decoded messages that arrived, in order of arrival."""
        found = []
        for path in sorted(glob.glob(os.path.join(self.folder, "*.json")),
                           key=lambda p: int(os.path.basename(p).split(".")[0])):
            with open(path) as f:
                found.append(json.load(f))
        return found


FAX_STAND_IN = r'''#!/bin/sh
# Stand-in for HylaFAX's sendfax: records its arguments (one a line) and a
# copy of each file it was given, in a folder of its own per run, then exits 0.
set -e
out="%(folder)s/$(date +%%s%%N)"
mkdir -p "$out"
for a in "$@"; do printf '%%s\n' "$a" >> "$out/args"; done
for a in "$@"; do
  if [ -f "$a" ]; then cp "$a" "$out/"; fi
done
exit 0
'''


class FaxStandIn:
    def __init__(self, road):
        self.road = road
        self.folder = os.path.join(road.folder, "fax")
        self.program = os.path.join(road.folder, "sendfax")

    def start(self):
        os.makedirs(self.folder, exist_ok=True)
        with open(self.program, "w") as f:
            f.write(FAX_STAND_IN % {"folder": self.folder})
        os.chmod(self.program, 0o755)
        return self

    def runs(self):
        """[(arguments, [copied files])] of every run, in order."""
        found = []
        for run in sorted(glob.glob(os.path.join(self.folder, "*"))):
            args_path = os.path.join(run, "args")
            if not os.path.exists(args_path):
                continue
            with open(args_path) as f:
                args = f.read().splitlines()
            files = sorted(p for p in glob.glob(os.path.join(run, "*")) if p != args_path)
            found.append((args, files))
        return found
