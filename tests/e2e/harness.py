"""What a scenario works with: a case description, and a context that starts
the program under test through the robot, reads its windows as decoded text
and checks what it sees.

A scenario is a short function taking the context; it fails by calling
ctx.fail() or one of the expect helpers (which raise CheckFailed).
"""
import os
import re
import shutil

from robot_client import Robot, RobotError
from wineenv import CODE_PAGES, unix_to_windows

IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
VK_RETURN, VK_ESCAPE = 0x0D, 0x1B


class CheckFailed(Exception):
    pass


class Case:
    """One run of the program: a name, the locale and Windows version it runs
    under, and the scenario function."""

    def __init__(self, name, func, locale="en_US.UTF-8", version="winxp", exe_name="Install.exe"):
        self.name = name
        self.func = func
        self.locale = locale
        self.version = version
        self.exe_name = exe_name


class Box:
    """A message box as read from the screen."""

    def __init__(self, answer, decode):
        self.caption = decode(answer.get("caption", ""))
        self.text = decode(answer.get("text", ""))
        self.buttons = [(b["id"], decode(b["hex"]).replace("&", "")) for b in answer.get("buttons", [])]
        self.button_ids = [b[0] for b in self.buttons]
        self.icon = answer.get("icon", "?")
        self.owner = answer.get("owner", "?")  # "dialog", "none" or "other"

    def __repr__(self):
        return "box(caption=%r, text=%r, buttons=%r, icon=%s, owner=%s)" % (
            self.caption, self.text, [b[1] for b in self.buttons], self.icon, self.owner)


def slug(name):
    return re.sub(r"[^A-Za-z0-9_.-]+", "_", name).strip("_")


class Context:
    def __init__(self, case, machine, paths, log=print):
        self.case = case
        self.machine = machine
        self.paths = paths
        self.log = log
        self.code_page = CODE_PAGES.get(case.locale, "cp1252")
        self.robot = None
        self.hooked = False
        # A fresh copy of the demo medium per case; the program may write into it.
        self.medium = os.path.join(paths.work, slug(case.name), "medium")
        if os.path.isdir(os.path.dirname(self.medium)):
            shutil.rmtree(os.path.dirname(self.medium))
        shutil.copytree(paths.medium, self.medium)
        self.exe = os.path.join(self.medium, case.exe_name)
        if case.exe_name != "Install.exe":
            os.rename(os.path.join(self.medium, "Install.exe"), self.exe)

    # ------------------------------------------------------------- decoding --

    def decode(self, hexbytes):
        raw = bytes.fromhex(hexbytes)
        try:
            return raw.decode(self.code_page)
        except UnicodeDecodeError:
            return raw.decode(self.code_page, "backslashreplace")

    def encode(self, text):
        return text.encode(self.code_page)

    # ---------------------------------------------------------------- robot --

    def cmd(self, line, timeout=30):
        if not self.robot:
            self.robot = Robot(self.machine, self.paths.robot, self.case.locale)
        return self.robot.cmd(line, timeout)

    def ok(self, line, timeout=30):
        answer = self.cmd(line, timeout)
        if not answer.get("ok"):
            self.fail("robot: %s -> %s" % (line, self._explain(answer)))
        return answer

    def _explain(self, answer):
        why = answer.get("error", "?")
        if "caption" in answer or "text" in answer:
            why += " " + repr(Box(answer, self.decode))
        if "exit" in answer:
            why += " (exit code %d)" % answer["exit"]
        return why

    def close(self):
        if self.robot:
            self.robot.close()
            killed = self.robot.proc.returncode not in (0, None)
            self.robot = None
            return killed
        return False

    # ------------------------------------------------------------ the program --

    def start(self, cwd=None):
        """Starts the program with the medium copy (or cwd) as current folder."""
        answer = self.ok('start "%s" "%s"' % (unix_to_windows(self.exe), unix_to_windows(cwd or self.medium)))
        self.hooked = answer.get("hooked", False)

    def dialog(self, timeout_ms=30000):
        """Waits for the dialog to show; returns its caption."""
        answer = self.ok("wait-dialog %d" % timeout_ms, timeout=timeout_ms / 1000 + 30)
        return self.decode(answer["caption"])

    def box(self, timeout_ms=30000):
        answer = self.cmd("wait-box %d" % timeout_ms, timeout=timeout_ms / 1000 + 30)
        if not answer.get("ok"):
            if answer.get("dialog"):
                self.fail("expected a message box, the dialog showed without one")
            self.fail("expected a message box: %s" % self._explain(answer))
        return Box(answer, self.decode)

    def answer(self, button):
        """Presses a button of the open box and waits until the box is gone."""
        self.ok("answer-box %d" % button)

    def init_state(self, timeout_ms=15000):
        """The dialog as initialisation left it, recorded inside the program
        when WM_INITDIALOG returned (also for a dialog that closes at once):
        {"caption": text, "controls": {id: {"text", "wtext", "visible",
        "check"}}}; "text" is decoded with the code page, "wtext" is UTF-16."""
        if not self.hooked:
            self.fail("the robot could not set inithook.dll on the program")
        state = self.ok("init-state %d" % timeout_ms, timeout=timeout_ms / 1000 + 30)["state"]
        wide = lambda h: bytes.fromhex(h).decode("utf-16-le")
        return {
            "caption": self.decode(state["hex"]),
            "wcaption": wide(state["whex"]),
            "order": [c["id"] for c in state["controls"]],
            "controls": {c["id"]: {"text": self.decode(c["hex"]), "wtext": wide(c["whex"]),
                                   "visible": c["visible"], "check": c["check"]}
                         for c in state["controls"]},
        }

    def wide_text(self, control):
        """A control's text as UTF-16, independent of the code page."""
        return bytes.fromhex(self.ok("get-wtext %d" % control)["whex"]).decode("utf-16-le")

    def text(self, control):
        return self.decode(self.ok("get-text %d" % control)["hex"])

    def caption(self):
        return self.decode(self.ok("caption")["hex"])

    def combo(self, control):
        a = self.ok("combo-items %d" % control)
        return [self.decode(h) for h in a["items"]], a["selected"]

    def checked(self, control):
        return self.ok("check-state %d" % control)["state"]

    def visible(self, control):
        return self.ok("visible %d" % control)["visible"]

    def controls(self):
        return self.ok("controls")

    def command(self, control):
        self.ok("post-command %d" % control)

    def post_close(self):
        self.ok("post-close")

    def key(self, control, vk):
        self.ok("key %d %d" % (control, vk))

    def exit_code(self, timeout_ms=15000):
        """The exit code once the program has ended, None if still running."""
        a = self.ok("wait-exit %d" % timeout_ms, timeout=timeout_ms / 1000 + 30)
        return None if a["running"] else a["exit"]

    def screenshot(self, name, dialog_only=True):
        path = os.path.join(self.paths.screenshots, name + ".png")
        rect = None
        if dialog_only:
            a = self.cmd("dialog-rect")
            if a.get("ok"):
                rect = a["rect"]
        if not self.machine.screenshot(path, rect):
            self.fail("could not save the screenshot %s" % path)
        self.log("    screenshot %s" % os.path.relpath(path))
        return path

    # ----------------------------------------------------------- the medium --

    def write_ini(self, name, sections, folder=None, encoding=None):
        """Writes an INI file into the medium copy (or folder).  sections:
        {section: {key: value}} in order.  The bytes are in the given
        encoding, else the system's code page, else code page 949 (the
        medium's Korean texts on a system whose code page lacks them)."""
        lines = []
        for section, keys in sections.items():
            lines.append("[%s]" % section)
            for k, v in keys.items():
                lines.append("%s=%s" % (k, v))
            lines.append("")
        text = "\r\n".join(lines)
        if encoding is None:
            try:
                data = text.encode(self.code_page)
            except UnicodeEncodeError:
                data = text.encode("cp949")
        else:
            data = text.encode(encoding)
        path = os.path.join(folder or self.medium, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def remove(self, name, folder=None):
        path = os.path.join(folder or self.medium, name)
        if os.path.exists(path):
            os.remove(path)

    # -------------------------------------------------------------- checks --

    def fail(self, why):
        raise CheckFailed(why)

    def expect(self, what, seen, expected):
        if seen != expected:
            self.fail("%s: expected %r, seen %r" % (what, expected, seen))


__all__ = ["Case", "Context", "CheckFailed", "Box", "RobotError", "IDOK", "IDCANCEL", "IDYES",
           "IDNO", "VK_RETURN", "VK_ESCAPE"]
