#!/usr/bin/env python3
"""End-to-end tests: the real Install.exe under Wine, driven by robot.exe.

    python3 tests/e2e/run.py [--build DIR] [-k SUBSTRING] [--keep] [--list]

Makes one fresh Wine prefix for the run (DIR/e2e/prefix), starts Xvfb, and
runs every case of the scenarios_*.py modules beside this file (or those
whose name contains SUBSTRING). Prints PASS/FAIL per case and ends with
"N passed, N failed"; exits non-zero on any failure, also when the programs
under test are missing.
"""
import argparse
import glob
import importlib
import os
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from harness import CheckFailed, Context  # noqa: E402
from robot_client import RobotError  # noqa: E402
from wineenv import BenchError, WineMachine  # noqa: E402


class Paths:
    def __init__(self, build):
        self.build = os.path.abspath(build)
        self.medium = os.path.join(self.build, "win32", "medium")
        self.install = os.path.join(self.medium, "Install.exe")
        self.robot = os.path.join(self.build, "win32", "robot.exe")
        self.hook = os.path.join(self.build, "win32", "inithook.dll")
        self.e2e = os.path.join(self.build, "e2e")
        self.work = os.path.join(self.e2e, "work")
        self.screenshots = os.path.join(self.e2e, "screenshots")


def load_cases():
    cases = []
    for path in sorted(glob.glob(os.path.join(HERE, "scenarios_*.py"))):
        module = importlib.import_module(os.path.splitext(os.path.basename(path))[0])
        cases.extend(module.CASES)
    names = [c.name for c in cases]
    dup = {n for n in names if names.count(n) > 1}
    if dup:
        raise SystemExit("duplicate case names: %s" % ", ".join(sorted(dup)))
    return cases


def summary(passed, failed):
    print("%d passed, %d failed" % (passed, failed))
    sys.stdout.flush()
    return 1 if failed or not passed else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--build", default=os.path.join(HERE, "..", "..", "build"))
    ap.add_argument("-k", dest="select", default=None, help="run the cases whose name contains this")
    ap.add_argument("--keep", action="store_true", help="keep the Wine prefix after the run")
    ap.add_argument("--list", action="store_true", help="list the cases and exit")
    args = ap.parse_args()

    paths = Paths(args.build)
    cases = load_cases()
    if args.select:
        cases = [c for c in cases if args.select in c.name]
    if args.list:
        for c in cases:
            print(c.name)
        return 0
    if not cases:
        print("no case matches %r" % args.select)
        return summary(0, 1)

    missing = [p for p in (paths.install, paths.robot, paths.hook) if not os.path.isfile(p)]
    if missing:
        for c in cases:
            print("FAIL %s: %s missing (build with scripts/build.sh)" % (c.name, ", ".join(missing)))
        return summary(0, len(cases))

    started = time.time()
    os.makedirs(paths.e2e, exist_ok=True)
    machine = WineMachine(paths.e2e, log=print)
    passed = failed = 0
    try:
        try:
            machine.start()
        except BenchError as e:
            for c in cases:
                print("FAIL %s: the Wine machine could not start: %s" % (c.name, e))
            return summary(0, len(cases))
        sys.stdout.flush()
        for case in cases:
            t = time.time()
            ctx = None
            reason = None
            try:
                machine.set_version(case.version)
                ctx = Context(case, machine, paths, log=print)
                case.func(ctx)
            except CheckFailed as e:
                reason = str(e)
            except RobotError as e:
                reason = "robot: %s" % e
            except BenchError as e:
                reason = "machine: %s" % e
            except Exception:  # a fault of the scenario itself still fails only its case
                reason = "error in the scenario:\n" + traceback.format_exc()
            finally:
                hung = False
                if ctx:
                    try:
                        hung = ctx.close()
                    except Exception as e:
                        reason = reason or "cleanup: %s" % e
                        hung = True
                if hung:
                    # A robot that had to be killed may leave its program behind.
                    machine.restart_server()
                for pid, cmd in machine.kill_leftovers():
                    print("    ended a leftover program: %d %s" % (pid, cmd))
            if reason is None:
                passed += 1
                print("PASS %s (%.1f s)" % (case.name, time.time() - t))
            else:
                failed += 1
                print("FAIL %s: %s" % (case.name, reason))
            sys.stdout.flush()
    finally:
        machine.stop(keep_prefix=args.keep)
    print("e2e run took %.0f s" % (time.time() - started))
    return summary(passed, failed)


if __name__ == "__main__":
    sys.exit(main())
