#!/usr/bin/env python3
"""Differential test of the INI engine: the same INI files and queries are
answered by the simulated machine's engine (natively) and by the system's
private-profile functions (under Wine), and the answers must agree.

    ini_differential.py --build <build dir> [--prefix <wine prefix>]

Deliberate differences are listed in KNOWN_DIFFERENCES with their reason;
such a query is reported, not failed. Without --prefix a fresh prefix is made
under <build dir>/e2e/ini-prefix.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

# Each case: a name, the file's bytes, and queries as "kind|section|key|default".
CASES = [
    ("case of names", b"[Model]\r\nmodelname=Laser\r\n",
     ["s|MODEL|ModelName|", "s|model|MODELNAME|", "s|MoDeL|ModelName|x"]),
    ("blanks around names and values", b"  [ MODEL ]  \r\n  ModelName  =   Laser 5  \r\n",
     ["s|MODEL|ModelName|", "s| MODEL |ModelName|"]),
    ("quotes", b"[A]\r\nd=\"  quoted  \"\r\ns='x'\r\nu=\"open\r\nm=\"a\"b\"\r\n",
     ["s|A|d|", "s|A|s|", "s|A|u|", "s|A|m|"]),
    ("duplicate keys and sections", b"[A]\r\nk=1\r\nk=2\r\n[B]\r\nj=1\r\n[A]\r\nk=3\r\nn=4\r\n",
     ["s|A|k|", "s|A|n|none", "s|B|j|"]),
    ("line without '='", b"[A]\r\nlonely\r\nk=v\r\n", ["s|A|lonely|dflt", "s|A|k|"]),
    ("empty value vs missing key", b"[Win98e]\r\nDatType=\r\n[Win2Ke]\r\nCfgFile=x\r\n",
     ["s|Win98e|DatType|RAW", "s|Win2Ke|DatType|RAW", "s|Nowhere|DatType|RAW"]),
    ("LF only", b"[A]\nk=v\nj = w \n", ["s|A|k|", "s|A|j|"]),
    ("no final line end", b"[A]\r\nk=last", ["s|A|k|"]),
    ("value holding '=' and ';'", b"[A]\r\nk=a=b;c\r\n", ["s|A|k|"]),
    ("comment lines", b"; note\r\n[A]\r\n;k=commented\r\nk=real\r\n", ["s|A|k|", "s|A|;k|"]),
    ("5000-character value", b"[A]\r\nk=" + b"x" * 5000 + b"\r\n", ["s|A|k|"]),
    ("code page 949 bytes", "[MODEL]\r\nModelName=데모 레이저\r\n".encode("cp949"), ["s|MODEL|ModelName|"]),
    ("integers", b"[A]\r\nn=12\r\nneg=-1\r\nplus=+5\r\ntail=7 files\r\nword=abc\r\nempty=\r\nbig=300\r\n",
     ["i|A|n|0", "i|A|neg|0", "i|A|plus|0", "i|A|tail|0", "i|A|word|9", "i|A|empty|9", "i|A|big|0",
      "i|A|missing|42"]),
    ("writes: new file, section, key", None,
     ["w|OSforInstallDiskette|FileName|HWin2K.drv", "s|OSforInstallDiskette|FileName|",
      "w|MODEL|ModelName|Laser", "s|MODEL|ModelName|", "s|osforinstalldiskette|filename|"]),
    ("writes: replace and remove", b"[A]\r\nk=1\r\nj=2\r\n[B]\r\nx=1\r\n",
     ["w|a|K|9", "s|A|k|", "s|A|j|", "w|A|j|~", "s|A|j|gone", "w|B|~|~", "s|B|x|gone", "s|A|k|"]),
]

# (case name, query) -> why the two answers may differ. None so far: the
# engine answers every case as the system does.
KNOWN_DIFFERENCES = {
}


def run_native(probe, ini, queries):
    return subprocess.run([probe, ini, queries], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          timeout=30, check=True).stdout.decode("latin-1").splitlines()


def run_wine(probe, ini, queries, env):
    to_win = lambda p: "Z:" + os.path.abspath(p).replace("/", "\\")
    out = subprocess.run(["wine", probe, to_win(ini), to_win(queries)], env=env, stdin=subprocess.DEVNULL,
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60, check=True).stdout
    return out.decode("latin-1").replace("\r", "").splitlines()


def wine_env(prefix):
    env = dict(os.environ)
    env.update({"WINEPREFIX": prefix, "WINEARCH": "win32", "WINEDEBUG": "-all",
                "WINEDLLOVERRIDES": "mscoree,mshtml=", "LC_ALL": "ko_KR.UTF-8", "LANG": "ko_KR.UTF-8"})
    env.pop("DISPLAY", None)
    return env


def compare_case(build, env, case, work, log=print):
    """Answers one case's queries on both sides; returns the disagreements."""
    name, content, queries = case
    native = os.path.join(build, "native", "probes", "ini_probe")
    windows = os.path.join(build, "win32", "probes", "ini_probe.exe")
    answers = []
    for side in ("native", "wine"):
        ini = os.path.join(work, side + ".ini")
        if os.path.exists(ini):
            os.remove(ini)
        if content is not None:
            with open(ini, "wb") as f:
                f.write(content)
        qfile = os.path.join(work, "queries.txt")
        with open(qfile, "w") as f:
            f.write("\n".join(queries) + "\n")
        if side == "native":
            answers.append(run_native(native, ini, qfile))
        else:
            answers.append(run_wine(windows, ini, qfile, env))
    problems = []
    for i, query in enumerate(queries):
        mine = answers[0][i] if i < len(answers[0]) else "<none>"
        theirs = answers[1][i] if i < len(answers[1]) else "<none>"
        if mine == theirs:
            continue
        reason = KNOWN_DIFFERENCES.get((name, query))
        if reason:
            log("  note  %s: %s: engine %r, system %r (%s)" % (name, query, mine[:60], theirs[:60], reason))
            continue
        problems.append("%s: engine %r, system %r" % (query, mine[:80], theirs[:80]))
    return problems


def compare(build, env, log=print):
    """Runs every case; returns (passed, failed)."""
    passed = failed = 0
    with tempfile.TemporaryDirectory(prefix="ini-diff-") as work:
        for case in CASES:
            problems = compare_case(build, env, case, work, log)
            if problems:
                failed += 1
                log("FAIL  ini differential: %s\n        %s" % (case[0], "\n        ".join(problems)))
            else:
                passed += 1
                log("PASS  ini differential: %s" % case[0])
    return passed, failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True)
    parser.add_argument("--prefix")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    prefix = args.prefix or os.path.join(build, "e2e", "ini-prefix")
    env = wine_env(prefix)
    if not args.prefix:
        shutil.rmtree(prefix, ignore_errors=True)
        os.makedirs(os.path.dirname(prefix), exist_ok=True)
        subprocess.run(["wineboot", "-i"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=300)
        subprocess.run(["wineserver", "-w"], env=env, timeout=300)
    try:
        passed, failed = compare(build, env)
    finally:
        subprocess.run(["wineserver", "-k"], env=env, stderr=subprocess.DEVNULL)
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
