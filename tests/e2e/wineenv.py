"""The Wine machine of one test run: an X server, a fresh prefix and a warm
wineserver, with helpers to switch the reported Windows version, read and
write the registry, map drive A: as a floppy and take screenshots.

Everything here has a timeout; nothing waits on standard input.
"""
import os
import shutil
import signal
import subprocess
import tempfile
import time

# Code page of the ANSI texts per locale of a case.
CODE_PAGES = {
    "en_US.UTF-8": "cp1252",
    "en_GB.UTF-8": "cp1252",
    "ko_KR.UTF-8": "cp949",
    "ja_JP.UTF-8": "cp932",
}

# Fonts the dialog's Korean font name is mapped to, first found wins.
NANUM_FONTS = [
    ("NanumGothic", "/usr/share/fonts/truetype/nanum/NanumGothic.ttf"),
    ("NanumBarunGothic", "/usr/share/fonts/truetype/nanum/NanumBarunGothic.ttf"),
    ("NanumSquare", "/usr/share/fonts/truetype/nanum/NanumSquareR.ttf"),
]
TEMPLATE_FONT = "굴림"  # the dialog template's font (Gulim)

FONT_SUBSTITUTES = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes"
WINE_REPLACEMENTS = r"HKCU\Software\Wine\Fonts\Replacements"


class BenchError(Exception):
    """The machine could not be set up; no case can run."""


def unix_to_windows(path):
    """Wine maps the Unix root to drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class WineMachine:
    def __init__(self, work_dir, log=print):
        self.work_dir = os.path.abspath(work_dir)
        self.prefix = os.path.join(self.work_dir, "prefix")
        self.log = log
        self.display = None
        self._xvfb = None
        self._server_started = False
        self.version = None
        self.font = None

    # ---------------------------------------------------------- environment --

    def env(self, locale="en_US.UTF-8"):
        env = dict(os.environ)
        for k in ("LANG", "LANGUAGE", "LC_ALL", "LC_CTYPE", "LC_MESSAGES"):
            env.pop(k, None)
        env.update({
            "WINEPREFIX": self.prefix,
            "WINEARCH": "win32",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            "WINEDEBUG": "-all",
            "LC_ALL": locale,
            "LANG": locale,
        })
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def run(self, args, timeout=60, locale="en_US.UTF-8", check=True):
        """Runs a Wine tool; its output is returned as text.  The output goes
        through files, not pipes: programs that Wine starts in the background
        inherit the descriptors and would hold a pipe open."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            p = subprocess.Popen(args, env=self.env(locale), stdin=subprocess.DEVNULL,
                                 stdout=out, stderr=err)
            try:
                p.wait(timeout)
            except subprocess.TimeoutExpired:
                p.kill()
                p.wait()
                raise BenchError("%s did not finish within %d s" % (" ".join(args), timeout))
            out.seek(0)
            err.seek(0)
            text = out.read().decode("utf-8", "replace")
            if check and p.returncode != 0:
                raise BenchError("%s failed (%d): %s %s" % (" ".join(args), p.returncode, text,
                                                            err.read().decode("utf-8", "replace")[-400:]))
        return text

    # ----------------------------------------------------------------- start --

    def start(self, keep_prefix=False):
        for tool in ("wine", "wineserver", "wineboot", "Xvfb"):
            if not shutil.which(tool):
                raise BenchError("%s is not installed (scripts/bootstrap.sh installs it)" % tool)
        os.makedirs(self.work_dir, exist_ok=True)
        self._start_xvfb()
        if os.path.isdir(self.prefix):
            self._kill_server()
            shutil.rmtree(self.prefix)
        os.makedirs(self.prefix)
        t = time.time()
        # A persistent server first, so every program of the run finds it warm.
        self.run(["wineserver", "-p"], timeout=30)
        self.run(["wineboot", "-i"], timeout=240)
        self._install_fonts()
        # No window manager runs on Xvfb: Wine draws the frames and captions
        # itself, so screenshots show the window's caption.
        self.reg_add(r"HKCU\Software\Wine\X11 Driver", "Managed", "N")
        self.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "N")
        self.log("wine prefix ready in %.1f s (%s, display %s)" % (time.time() - t, self.prefix, self.display))

    def _start_xvfb(self):
        for n in range(91, 131):
            if os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n):
                continue
            proc = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                                    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            deadline = time.time() + 10
            while time.time() < deadline:
                if proc.poll() is not None:
                    break
                if os.path.exists("/tmp/.X11-unix/X%d" % n):
                    self._xvfb = proc
                    self.display = ":%d" % n
                    return
                time.sleep(0.1)
            if proc.poll() is None:
                proc.kill()
                proc.wait()
        raise BenchError("could not start Xvfb on any display from :91 to :130")

    def _install_fonts(self):
        """Maps the template's Korean font to a Nanum font, both as a Windows
        substitute and as Wine's own replacement, so Korean captions draw."""
        for name, path in NANUM_FONTS:
            if os.path.exists(path):
                self.font = name
                break
        if not self.font:
            self.log("warning: no Nanum font found; Korean captions may not draw")
            return
        self.reg_add(FONT_SUBSTITUTES, TEMPLATE_FONT, self.font)
        self.reg_add(WINE_REPLACEMENTS, TEMPLATE_FONT, self.font)

    # --------------------------------------------------------------- registry --

    def reg_add(self, key, name, data, kind="REG_SZ"):
        args = ["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f"]
        self.run(args, timeout=60)

    def reg_delete(self, key, name=None):
        args = ["wine", "reg", "delete", key] + (["/v", name] if name else []) + ["/f"]
        self.run(args, timeout=60, check=False)

    def reg_query(self, key, name=None):
        """The values of a key as {name: (type, data)}, or None when the key
        (or the value asked for) does not exist."""
        args = ["wine", "reg", "query", key] + (["/v", name] if name else [])
        try:
            out = self.run(args, timeout=60, check=False)
        except BenchError:
            return None
        values = {}
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0] if parts[0] != "(Default)" else ""] = (
                    parts[1], parts[2] if len(parts) > 2 else "")
        if name is not None and name not in values:
            return None
        return values if values or "HKEY" in out else None

    def set_version(self, version):
        """The Windows version every program started next reports."""
        if version != self.version:
            self.reg_add(r"HKCU\Software\Wine", "Version", version)
            self.version = version

    # ------------------------------------------------------------------ drives --

    def map_floppy(self, letter, folder):
        """Maps a drive letter onto a folder as a floppy drive (GetDriveTypeA
        then answers DRIVE_REMOVABLE).  Wine's mount manager reads the drive
        types when it starts, so this restarts the server: call it before the
        case starts its programs."""
        letter = letter.lower().rstrip(":")
        os.makedirs(folder, exist_ok=True)
        link = os.path.join(self.prefix, "dosdevices", letter + ":")
        if os.path.lexists(link):
            os.unlink(link)
        os.symlink(os.path.abspath(folder), link)
        self.reg_add(r"HKLM\Software\Wine\Drives", letter + ":", "floppy")
        self.restart_server()

    def unmap_drive(self, letter):
        letter = letter.lower().rstrip(":")
        link = os.path.join(self.prefix, "dosdevices", letter + ":")
        if os.path.lexists(link):
            os.unlink(link)
        self.reg_delete(r"HKLM\Software\Wine\Drives", letter + ":")
        self.restart_server()

    def mount_diskette(self, folder, size=1457664):
        """Mounts a tmpfs of a diskette's size on the folder. Returns False
        where mounting is not allowed (the caller skips its case)."""
        os.makedirs(folder, exist_ok=True)
        try:
            p = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=%d" % size, "tmpfs", folder],
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, timeout=20)
        except (OSError, subprocess.TimeoutExpired):
            return False
        return p.returncode == 0

    def unmount(self, folder):
        subprocess.run(["umount", folder], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=20)

    # ------------------------------------------------------------- screenshots --

    def screenshot(self, path, rect=None):
        """Saves the screen, or a rectangle [x, y, w, h] of it, as a PNG."""
        if not shutil.which("import"):
            return False
        os.makedirs(os.path.dirname(path), exist_ok=True)
        args = ["import", "-display", self.display, "-window", "root"]
        if rect:
            x, y, w, h = rect
            args += ["-crop", "%dx%d+%d+%d" % (w, h, max(x, 0), max(y, 0)), "+repage"]
        args.append(path)
        try:
            p = subprocess.run(args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, timeout=30)
        except subprocess.TimeoutExpired:
            return False
        return p.returncode == 0 and os.path.exists(path)

    # --------------------------------------------------------------- processes --

    # Wine's own services of a prefix; everything else a case started.
    SERVICES = ("wineserver", "services.exe", "winedevice.exe", "plugplay.exe", "explorer.exe",
                "svchost.exe", "rpcss.exe", "conhost.exe", "start.exe", "wineboot.exe", "tabtip.exe")

    def leftovers(self):
        """Programs of this run's prefix still alive, other than Wine's
        services: [(pid, command line)]."""
        found = []
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    env = f.read().split(b"\0")
                with open("/proc/%s/cmdline" % pid, "rb") as f:
                    cmd = f.read().replace(b"\0", b" ").decode("utf-8", "replace").strip()
            except OSError:
                continue
            if ("WINEPREFIX=" + self.prefix).encode() not in env:
                continue
            if not cmd or any(s in cmd.lower() for s in self.SERVICES):
                continue
            found.append((int(pid), cmd))
        return found

    def kill_leftovers(self):
        """Ends the programs a case left behind, each by its id."""
        left = self.leftovers()
        for pid, _cmd in left:
            try:
                os.kill(pid, signal.SIGKILL)
            except OSError:
                pass
        return left

    # ------------------------------------------------------------------- stop --

    def restart_server(self):
        """After a robot had to be killed: ends every program of the prefix
        and starts the server again."""
        self._kill_server()
        self.run(["wineserver", "-p"], timeout=30)
        self.version = None

    def _kill_server(self):
        """Ends the prefix's server and everything it runs, and waits until
        they are gone, so the next program does not meet a dying server."""
        try:
            subprocess.run(["wineserver", "-k"], env=self.env(), stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        except subprocess.TimeoutExpired:
            pass
        deadline = time.time() + 15
        while time.time() < deadline and self._prefix_processes():
            time.sleep(0.1)

    def _prefix_processes(self):
        found = []
        marker = ("WINEPREFIX=" + self.prefix).encode()
        for pid in os.listdir("/proc"):
            if not pid.isdigit():
                continue
            try:
                with open("/proc/%s/environ" % pid, "rb") as f:
                    if marker in f.read().split(b"\0"):
                        found.append(int(pid))
            except OSError:
                continue
        return found

    def stop(self, keep_prefix=False):
        if os.path.isdir(self.prefix):
            self._kill_server()
        if self._xvfb and self._xvfb.poll() is None:
            self._xvfb.send_signal(signal.SIGTERM)
            try:
                self._xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
                self._xvfb.wait()
        self._xvfb = None
        if not keep_prefix and os.path.isdir(self.prefix):
            shutil.rmtree(self.prefix, ignore_errors=True)
