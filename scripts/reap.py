#!/usr/bin/python3
"""Runs a command as the reaper of everything it starts (PR_SET_CHILD_SUBREAPER): a process
orphaned on the way, such as a daemon of a test that CTest ended at its time limit, becomes a
child of this one instead of init's. When the command ends, what is left is named on standard
error and ended, and the exit status is 1 if anything was left, else the command's own.

    reap.py COMMAND [ARGUMENT ...]
"""
import ctypes
import os
import signal
import subprocess
import sys
import time

PR_SET_CHILD_SUBREAPER = 36


def children():
    """This process's children: what the command left behind, and nothing else after it ends."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            if int(fields[1]) == os.getpid() and fields[0] != "Z":
                with open(f"/proc/{pid}/cmdline", "rb") as f:
                    found.append((int(pid), f.read().replace(b"\0", b" ").decode(errors="replace")))
        except (FileNotFoundError, ProcessLookupError, IndexError):
            pass
    return found


def end_what_is_left():
    left = False
    for _ in range(50):  # an ended process's own children become ours in turn
        while True:  # reap the ended ones
            try:
                if os.waitpid(-1, os.WNOHANG)[0] == 0:
                    break
            except ChildProcessError:
                break
        found = children()
        if not found:
            return left
        for pid, command in found:
            print(f"reap.py: left behind: {pid} {command}", file=sys.stderr)
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        left = True
        time.sleep(0.1)
    return left


def main():
    if ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) != 0:
        sys.exit("reap.py: cannot become a subreaper")
    status = subprocess.call(sys.argv[1:])
    return 1 if end_what_is_left() else status


if __name__ == "__main__":
    sys.exit(main())
