#!/usr/bin/env python3
"""Runs roads of the acceptance suite against the built program.

    run.py [--build DIR] [--source DIR] [--runs DIR] [ROAD ...]

Each road gets a folder of its own under --runs (default
<build>/tests/gui/runs), its own X server on a free display of :91..:99, its
own demo home and services; the folder (screenshots, the road's log, the
program's output, what the services received) is printed at the start and at
the end. Without a road every road runs, one after the other. The exit status
is 0 when every road passed.
"""
import argparse
import os
import re
import shutil
import signal
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from guitest.road import Road  # noqa: E402
from guitest.xsession import XSession  # noqa: E402
from roads import ROADS  # noqa: E402


class Stopped(Exception):
    pass


def _stop(signum, frame):
    raise Stopped("signal %d" % signum)


KEEP_RUNS = 5  # folders kept per road, the newest ones


def prune_runs(runs_dir, name):
    """Removes all but the newest KEEP_RUNS - 1 folders of road name (the
    run about to start makes the last one)."""
    if not os.path.isdir(runs_dir):
        return
    mine = sorted(f for f in os.listdir(runs_dir) if re.match(r"\d{8}-\d{6}-%s-\d+$" % re.escape(name), f))
    for old in mine[:max(0, len(mine) - (KEEP_RUNS - 1))]:
        shutil.rmtree(os.path.join(runs_dir, old), ignore_errors=True)


def run_road(name, build_dir, source_dir, runs_dir):
    prune_runs(runs_dir, name)
    folder = os.path.join(runs_dir, "%s-%s-%d" % (time.strftime("%Y%m%d-%H%M%S"), name, os.getpid()))
    os.makedirs(folder, exist_ok=True)
    road = Road(name, folder, build_dir, source_dir)
    road.log("road %s: pictures and logs in %s" % (name, folder))
    error = None
    try:
        road.session = XSession(road.processes, folder).start()
        road.log("display %s" % road.session.display)
        ROADS[name](road)
    except BaseException as e:  # also Stopped and KeyboardInterrupt: clean up first
        error = e
    passed = road.finish(error)
    if isinstance(error, (Stopped, KeyboardInterrupt)):
        raise error
    return passed


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawTextHelpFormatter)
    parser.add_argument("--build", default=os.path.join(HERE, "..", "..", "build"))
    parser.add_argument("--source", default=os.path.join(HERE, "..", ".."))
    parser.add_argument("--runs", default=None)
    parser.add_argument("roads", nargs="*")
    options = parser.parse_args()
    build_dir = os.path.abspath(options.build)
    source_dir = os.path.abspath(options.source)
    runs_dir = os.path.abspath(options.runs or os.path.join(build_dir, "tests", "gui", "runs"))
    names = options.roads or list(ROADS)
    unknown = [n for n in names if n not in ROADS]
    if unknown:
        parser.error("no road %s; the roads: %s" % (", ".join(unknown), " ".join(ROADS)))
    if not os.path.exists(os.path.join(build_dir, "bin", "steward")):
        parser.error("no program in %s/bin: build first" % build_dir)
    signal.signal(signal.SIGTERM, _stop)
    signal.signal(signal.SIGHUP, _stop)
    results = {}
    started = time.monotonic()
    for name in names:
        results[name] = run_road(name, build_dir, source_dir, runs_dir)
    if len(names) > 1:
        print("\n%d road(s) in %.0fs:" % (len(names), time.monotonic() - started))
        for name, passed in results.items():
            print("  %-12s %s" % (name, "passed" if passed else "FAILED"))
    return 0 if all(results.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
