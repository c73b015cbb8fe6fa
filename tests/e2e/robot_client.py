"""Talks to robot.exe under Wine: one command line in, one JSON line out.

Every answer is awaited with a timeout; a robot that stops answering is
killed, and the case that used it fails with the reason.
"""
import json
import os
import select
import subprocess
import time


class RobotError(Exception):
    pass


class Robot:
    def __init__(self, machine, robot_exe, locale):
        self.machine = machine
        self.locale = locale
        self.log = []  # (command, answer) pairs, for failure reports
        self._buf = b""
        self.proc = subprocess.Popen(["wine", robot_exe], env=machine.env(locale),
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL)

    def cmd(self, line, timeout=30):
        """Sends one command; returns the decoded answer (a dict)."""
        if self.proc.poll() is not None:
            raise RobotError("the robot has ended (exit %s)" % self.proc.returncode)
        try:
            self.proc.stdin.write((line + "\n").encode("utf-8"))
            self.proc.stdin.flush()
        except OSError as e:
            raise RobotError("cannot write to the robot: %s" % e)
        raw = self._readline(timeout)
        try:
            answer = json.loads(raw)
        except ValueError:
            raise RobotError("the robot answered %r to %r" % (raw[:200], line))
        self.log.append((line, answer))
        return answer

    def _readline(self, timeout):
        deadline = time.time() + timeout
        fd = self.proc.stdout.fileno()
        while b"\n" not in self._buf:
            left = deadline - time.time()
            if left <= 0:
                self.kill()
                raise RobotError("the robot gave no answer within %d s" % timeout)
            ready, _, _ = select.select([fd], [], [], left)
            if ready:
                chunk = os.read(fd, 65536)
                if not chunk:
                    raise RobotError("the robot closed its output")
                self._buf += chunk
        line, self._buf = self._buf.split(b"\n", 1)
        return line.decode("ascii", "replace").strip()

    def close(self):
        """Ends the program under test and the robot."""
        if self.proc.poll() is None:
            try:
                self.cmd("kill", timeout=15)
                self.cmd("quit", timeout=10)
            except RobotError:
                pass
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.kill()
        for f in (self.proc.stdin, self.proc.stdout):
            try:
                f.close()
            except OSError:
                pass

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                pass
