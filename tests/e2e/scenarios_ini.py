"""The simulated machine's INI engine against the system's private-profile
functions: the same files and queries, the same answers (ini_differential.py
holds the table)."""
import tempfile

from harness import Case
import ini_differential


def differential(case):
    def scenario(ctx):
        with tempfile.TemporaryDirectory(prefix="ini-diff-") as work:
            problems = ini_differential.compare_case(ctx.paths.build, ctx.machine.env("ko_KR.UTF-8"), case, work,
                                                     ctx.log)
        if problems:
            ctx.fail("; ".join(problems))
    return scenario


CASES = [Case("ini: " + case[0], differential(case)) for case in ini_differential.CASES]
