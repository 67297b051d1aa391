"""Child processes of one run, each in a process group of its own.

Everything the run starts (X server, window manager, print and mail
servers, the program) goes through Processes.start, and Processes.stop_all
ends them in the reverse order, by the group id of each, also when the run
fails or is ended by a signal. Nothing that the run did not start is touched.
"""
import os
import signal
import subprocess
import time


class Processes:
    def __init__(self):
        self._started = []  # (name, Popen), in start order

    def start(self, name, argv, log_path=None, env=None, cwd=None, stdout=None, pass_fds=()):
        """Starts argv in a new session; stderr (and stdout unless given) go to
        log_path when given. Returns the Popen."""
        log = open(log_path, "ab") if log_path else subprocess.DEVNULL
        try:
            process = subprocess.Popen(
                argv, stdin=subprocess.DEVNULL,
                stdout=stdout if stdout is not None else log, stderr=log,
                env=env, cwd=cwd, start_new_session=True, pass_fds=pass_fds)
        finally:
            if log_path:
                log.close()
        self._started.append((name, process))
        return process

    def stop(self, process, grace=3.0):
        """Ends one started process group: SIGTERM, then SIGKILL after grace seconds."""
        if process.poll() is None:
            _signal_group(process.pid, signal.SIGTERM)
            try:
                process.wait(grace)
            except subprocess.TimeoutExpired:
                _signal_group(process.pid, signal.SIGKILL)
                process.wait(5)
        else:
            # The leader is gone; children it left in its group go too.
            _signal_group(process.pid, signal.SIGKILL)
        self._started = [(n, p) for n, p in self._started if p is not process]

    def stop_all(self):
        for _, process in reversed(list(self._started)):
            try:
                self.stop(process)
            except Exception:
                pass


def _signal_group(pgid, sig):
    try:
        os.killpg(pgid, sig)
    except (ProcessLookupError, PermissionError):
        pass


def wait_until(predicate, timeout, interval=0.1):
    """Calls predicate until it answers something true or timeout seconds
    pass; returns the last answer."""
    deadline = time.monotonic() + timeout
    while True:
        answer = predicate()
        if answer or time.monotonic() >= deadline:
            return answer
        time.sleep(interval)
