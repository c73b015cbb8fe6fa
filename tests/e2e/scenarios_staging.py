"""Staging a driver package with the setup program's own staging code and
the real system calls (tests/e2e/probes/stage_probe.cpp): the package has
unpacked every file, complete, when staging returns, also with a temporary
folder whose path holds blanks; what an earlier run left is replaced; a
damaged or missing package is reported and never counts as staged."""
import os
import shutil
import subprocess
import zlib

from harness import Case
from wineenv import unix_to_windows

HERE = os.path.dirname(os.path.abspath(__file__))
PAYLOADS = os.path.join(HERE, "..", "..", "examples", "payload")
TEMP_WITH_BLANKS = r"C:\Temp Folder With Blanks"


def payload_files(package):
    """{relative path with backslashes: (size, crc32)} of a demo package's source."""
    root = os.path.join(PAYLOADS, package)
    files = {}
    for folder, _dirs, names in os.walk(root):
        for name in names:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                data = f.read()
            files[os.path.relpath(path, root).replace("/", "\\")] = (len(data), zlib.crc32(data) & 0xFFFFFFFF)
    return files


def stage(ctx, package, language="en"):
    """Runs the probe in the medium copy; returns its report."""
    probe = os.path.join(ctx.paths.build, "win32", "probes", "stage_probe.exe")
    try:
        p = subprocess.run(["wine", probe, package, language], cwd=ctx.medium, env=ctx.machine.env(ctx.case.locale),
                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=120)
    except subprocess.TimeoutExpired:
        ctx.fail("staging %s did not return within 120 s" % package)
    report = {"files": {}}
    for line in p.stdout.decode("cp949" if language == "ko" else "cp1252", "replace").replace("\r", "").splitlines():
        word, _, rest = line.partition(" ")
        if word == "file":
            name, size, crc = rest.rsplit(" ", 2)
            report["files"][name] = (int(size), int(crc, 16))
        else:
            report[word] = rest
    if "result" not in report:
        ctx.fail("the staging probe gave no result (exit %d)" % p.returncode)
    return report


class TempFolder:
    """Points the prefix's temporary folder at a path with blanks for the
    span of a case."""

    def __init__(self, ctx):
        self.ctx = ctx
        self.unix = os.path.join(ctx.machine.prefix, "drive_c", TEMP_WITH_BLANKS[3:])

    def __enter__(self):
        m = self.ctx.machine
        self.old = {name: m.reg_query(r"HKCU\Environment", name) for name in ("TEMP", "TMP")}
        for name in ("TEMP", "TMP"):
            m.reg_add(r"HKCU\Environment", name, TEMP_WITH_BLANKS)
        m.restart_server()
        shutil.rmtree(self.unix, ignore_errors=True)
        os.makedirs(self.unix)
        return self

    def __exit__(self, *exc):
        m = self.ctx.machine
        for name, values in self.old.items():
            if values is None:
                m.reg_delete(r"HKCU\Environment", name)
            else:
                kind, data = values[name]
                m.reg_add(r"HKCU\Environment", name, data, kind=kind)
        m.restart_server()

    def path(self, *parts):
        return os.path.join(self.unix, *parts)


def complete_before_return(ctx):
    with TempFolder(ctx) as temp:
        # What an earlier run left: a file the package holds, with other
        # contents, and one it does not hold.
        os.makedirs(temp.path("TARNOsetup", "drivers", "data"))
        with open(temp.path("TARNOsetup", "drivers", "data", "DL5100.INI"), "w") as f:
            f.write("stale")
        with open(temp.path("TARNOsetup", "left-over.dll"), "w") as f:
            f.write("stale")
        for package in ("HWin2K", "Win95"):
            report = stage(ctx, package + ".drv")
            ctx.expect("%s: result" % package, report["result"], "ok")
            ctx.expect("%s: staged copy" % package, report["staged"], TEMP_WITH_BLANKS + "\\" + package + ".exe")
            ctx.expect("%s: unpack folder" % package, report["unpack"], TEMP_WITH_BLANKS + "\\TARNOsetup")
            ctx.expect("%s: files in the unpack folder when staging returned" % package, report["files"],
                       payload_files(package))


def damaged_or_missing(ctx):
    with open(os.path.join(ctx.medium, "HWin2K.drv"), "rb") as f:
        data = bytearray(f.read())
    data[-200] ^= 0x40  # inside the payload: its checksum no longer holds
    with open(os.path.join(ctx.medium, "Broken.drv"), "wb") as f:
        f.write(data)
    with open(os.path.join(ctx.medium, "Text.drv"), "w") as f:
        f.write("not a program")

    report = stage(ctx, "Broken.drv")
    if not report["result"].startswith("failed package-failed "):
        ctx.fail("a damaged package: result %r, expected a failure of the package" % report["result"])
    code = report["result"].split()[-1]
    ctx.expect("message", report["message"],
               "The driver package Broken.drv is damaged: it could not unpack its files (Exit Code %s)." % code)

    report = stage(ctx, "Missing.drv", "ko")
    ctx.expect("a missing package", report["result"], "failed copy 2")
    ctx.expect("message", report["message"],
               "드라이버 패키지 Missing.drv 을(를) 임시 폴더에 복사할 수 없습니다. (오류 번호 2)")

    report = stage(ctx, "Text.drv")
    if not report["result"].startswith("failed start "):
        ctx.fail("a package that is no program: result %r, expected it not to start" % report["result"])


CASES = [
    Case("staging: every file complete when staging returns, temp path with blanks, stale files replaced",
         complete_before_return),
    Case("staging: a damaged, missing or non-program package is reported", damaged_or_missing),
]
