"""One road's run: its folder, its pictures, its checks.

A road is a function road(r) of a Road. Checks come in two strengths:
  r.expect(ok, what)  records a failed check (with a screenshot) and goes on,
                      so one run reports every outcome of the road;
  r.require(ok, what) stops the road when the check fails (what follows
                      cannot be walked).
r.wait_for(predicate, timeout, what) waits for a condition instead of
sleeping and is a require. Every check that passes is logged too, so the
run's log tells what was looked at.
"""
import os
import re
import time
import traceback

from .processes import Processes, wait_until


class RoadStop(Exception):
    """A required check failed; the road cannot go on."""


class Road:
    def __init__(self, name, folder, build_dir, source_dir):
        self.name = name
        self.folder = folder
        self.build_dir = build_dir
        self.source_dir = source_dir
        self.processes = Processes()
        self.failures = []
        self.shots = 0
        self.started = time.monotonic()
        self.session = None  # the XSession, once started
        self._log = open(os.path.join(folder, "road.log"), "a", encoding="utf-8")

    # -- log and pictures --
    def log(self, text):
        line = "[%6.1fs] %s" % (time.monotonic() - self.started, text)
        self._log.write(line + "\n")
        self._log.flush()
        print("%s: %s" % (self.name, line), flush=True)

    def screenshot(self, label):
        if self.session is None:
            return None
        self.shots += 1
        safe = re.sub(r"[^A-Za-z0-9_.-]+", "-", label).strip("-")[:60]
        path = os.path.join(self.folder, "%02d-%s.png" % (self.shots, safe))
        self.session.screenshot(path)
        return path

    # -- checks --
    def expect(self, ok, what, shot=True):
        if ok:
            self.log("ok: " + what)
            return True
        path = self.screenshot("FAIL-" + what) if shot else None
        self.failures.append((what, path))
        self.log("FAILED: %s%s" % (what, " (%s)" % path if path else ""))
        return False

    def require(self, ok, what):
        if not self.expect(ok, what):
            raise RoadStop(what)
        return ok

    def wait_for(self, predicate, timeout, what, interval=0.1):
        answer = wait_until(predicate, timeout, interval)
        self.require(answer, "%s (within %gs)" % (what, timeout))
        return answer

    def soon(self, predicate, timeout, what, interval=0.1):
        """wait_for that records a failure and goes on."""
        answer = wait_until(predicate, timeout, interval)
        self.expect(answer, "%s (within %gs)" % (what, timeout))
        return answer

    # -- the end --
    def finish(self, error=None):
        if error is not None and not isinstance(error, RoadStop):
            text = "".join(traceback.format_exception(type(error), error, error.__traceback__))
            self.screenshot("error")
            self.failures.append(("harness error: %s" % error, None))
            self.log("ERROR:\n" + text)
        self.processes.stop_all()
        seconds = time.monotonic() - self.started
        if self.failures:
            self.log("road %s FAILED after %.1fs, %d failed check(s):" % (
                self.name, seconds, len(self.failures)))
            for what, path in self.failures:
                self.log("  - %s%s" % (what, "  [%s]" % path if path else ""))
        else:
            self.log("road %s passed in %.1fs" % (self.name, seconds))
        self.log("pictures and logs: %s" % self.folder)
        self._log.close()
        return not self.failures
