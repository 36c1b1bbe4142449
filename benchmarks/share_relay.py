#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A file server one network round trip away, for benchmarks/share_startup.sh.

sshfs starts this in place of ssh (its ssh_command option); it runs the SFTP server of this
machine and holds every piece of data in each direction for SHARE_DELAY_MS / 2 milliseconds, so
that each request to the share costs one round trip of SHARE_DELAY_MS. Nothing leaves the
machine."""
import os
import queue
import subprocess
import sys
import threading
import time

HALF = float(os.environ.get("SHARE_DELAY_MS", "10")) / 2000.0
SERVER = os.environ.get("SFTP_SERVER", "/usr/lib/openssh/sftp-server")


def pump(source, target):
    pending = queue.Queue()

    def read():
        while True:
            data = os.read(source, 65536)
            pending.put((time.monotonic() + HALF, data))
            if not data:
                return

    def write():
        while True:
            due, data = pending.get()
            wait = due - time.monotonic()
            if wait > 0:
                time.sleep(wait)
            if not data:
                os.close(target)
                return
            os.write(target, data)

    threading.Thread(target=read, daemon=True).start()
    writer = threading.Thread(target=write)
    writer.start()
    return writer


server = subprocess.Popen([SERVER], stdin=subprocess.PIPE, stdout=subprocess.PIPE, bufsize=0)
pump(sys.stdin.fileno(), server.stdin.fileno())
pump(server.stdout.fileno(), sys.stdout.fileno()).join()
