"""Xvfb on a display it picks itself, so that runs started together (the monkeys of CI, the desktop
tests) never share one. Shared by tools/monkey and tests/e2e."""

import os
import subprocess


def start_xvfb(size="1280x900x24"):
    """Starts Xvfb and returns (process, ":N"), or (process, None) when it did not start."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", size, "-nolisten", "tcp", "-ac"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
    os.close(write_end)
    with os.fdopen(read_end) as chosen:
        number = chosen.readline().strip()  # written once the server takes connections
    return xvfb, (":" + number if number.isdigit() else None)
