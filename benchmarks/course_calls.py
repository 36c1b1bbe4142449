#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Lists the file system calls of a traced start that touch the course folder.

Usage: course_calls.py TRACE COURSE START_DIR

TRACE is the output of `strace -f -ttt -y -o TRACE first_window ... PROGRAM --course COURSE`,
started in START_DIR, with at least the classes %file, %desc and the call kill traced. A call
touches the course when

- a path it names lies in COURSE: an absolute one, or a relative one resolved against the folder
  of the directory descriptor it goes with (strace -y prints it, also for AT_FDCWD) or, for the
  calls without one (chdir, access, readlink, mkdir ...), against the process's working folder,
  which is followed through chdir and fchdir; or
- a file descriptor it passes or returns is a file in COURSE (reads, directory listings, fstat
  and mmap of a file opened there, fchdir into it).

Paths are resolved by their letters (".." and "." taken out), not through symbolic links.

The listing ends at the first kill() of the first process in the trace (first_window ends the
program that way once it has seen the program's first window mapped), so everything listed
happened before first_window saw the window. Prints one line per call, milliseconds from the
first line of the trace, and a last line with the count; exits with 0.
"""
import os
import re
import sys

# Calls whose top-level string arguments are paths; the rest of %file and %desc pass data,
# names or socket addresses in strings.
PATH_CALLS = {
    "open", "openat", "openat2", "creat", "stat", "lstat", "stat64", "lstat64", "newfstatat",
    "fstatat64", "statx", "access", "faccessat", "faccessat2", "readlink", "readlinkat", "chdir",
    "chroot", "mkdir", "mkdirat", "rmdir", "unlink", "unlinkat", "rename", "renameat",
    "renameat2", "link", "linkat", "symlink", "symlinkat", "truncate", "chmod", "fchmodat",
    "chown", "lchown", "fchownat", "utime", "utimes", "utimensat", "futimesat", "statfs",
    "mknod", "mknodat", "inotify_add_watch", "name_to_handle_at", "open_tree", "execve",
    "execveat", "getxattr", "lgetxattr", "setxattr", "lsetxattr", "listxattr", "llistxattr",
    "removexattr", "lremovexattr", "uselib",
}
# Calls where only the first string is a path (the others are argument lists, attribute names or
# what the call read).
FIRST_STRING_ONLY = {"execve", "execveat", "getxattr", "lgetxattr", "setxattr", "lsetxattr",
                     "removexattr", "lremovexattr", "readlink", "readlinkat"}

LINE = re.compile(r"^(\d+)\s+([\d.]+)\s+(.*)$")
CALL = re.compile(r"^(\w+)\((.*)$")
UNFINISHED = " <unfinished ...>"
RESUMED = re.compile(r"^<\.\.\. (\w+) resumed>(.*)$")
FD = re.compile(r"\b\d+<([^>]*)>")
AT_FDCWD = re.compile(r"^AT_FDCWD<([^>]*)>$")
DIRFD = re.compile(r"^\d+<([^>]*)>$")
RESULT = re.compile(r"\)\s+=\s+(-?\d+)")


def unquote(text):
    """A C string as strace prints it (octal and hex escapes) to its bytes, read as UTF-8."""
    return (text.encode("latin-1", "backslashreplace").decode("unicode_escape")
            .encode("latin-1", "replace").decode("utf-8", "replace"))


def top_level_args(text):
    """The top-level arguments of a call's argument text (up to its closing parenthesis)."""
    args, depth, current, quoted, escaped = [], 0, [], False, False
    for ch in text:
        if quoted:
            current.append(ch)
            if escaped:
                escaped = False
            elif ch == "\\":
                escaped = True
            elif ch == '"':
                quoted = False
            continue
        if ch == '"':
            quoted = True
        elif ch in "[{":
            depth += 1
        elif ch in "]}":
            depth -= 1
        elif ch == ")" and depth == 0:
            break
        elif ch == "," and depth == 0:
            args.append("".join(current).strip())
            current = []
            continue
        current.append(ch)
    args.append("".join(current).strip())
    return args


def inside(path, course):
    return any(path == c or path.startswith(c + "/") for c in course)


def main():
    trace, course_arg, start = sys.argv[1], sys.argv[2], sys.argv[3]
    course = {os.path.normpath(course_arg), os.path.realpath(course_arg)}
    cwd = {}  # by process or thread id: its working folder as last seen
    last_chdir = None  # the working folder the last chdir or fchdir set, for ids not yet seen
    pending = {}  # unfinished calls by id
    first_pid = None
    first_time = None
    listed = 0
    with open(trace, encoding="latin-1") as lines:
        for raw in lines:
            match = LINE.match(raw.rstrip("\n"))
            if not match:
                continue
            pid, stamp, text = match.group(1), float(match.group(2)), match.group(3)
            if first_pid is None:
                first_pid, first_time = pid, stamp
            if text.endswith(UNFINISHED):
                if pid == first_pid and text.startswith("kill("):
                    break  # first_window has seen the first window
                pending[pid] = (stamp, text[: -len(UNFINISHED)])
                continue
            resumed = RESUMED.match(text)
            if resumed:
                if pid not in pending:
                    continue
                stamp, start_text = pending.pop(pid)
                text = start_text + resumed.group(2)
            call = CALL.match(text)
            if not call:
                continue  # signals, exits
            name, rest = call.group(1), call.group(2)
            if name == "kill" and pid == first_pid:
                break  # first_window has seen the first window
            args = top_level_args(rest)
            ok = (RESULT.search(text) or [None, "-1"])[1] != "-1"
            here = cwd.get(pid) or last_chdir or start
            for arg in args:
                at = AT_FDCWD.match(arg)
                if at:
                    here = cwd[pid] = unquote(at.group(1))
            touched = [p for p in map(unquote, FD.findall(text)) if inside(p, course)]
            if name in PATH_CALLS:
                base = here
                strings = 0
                for i, arg in enumerate(args):
                    if not arg.startswith('"'):
                        continue
                    strings += 1
                    if strings > 1 and name in FIRST_STRING_ONLY:
                        break
                    path = unquote(arg[1:arg.rfind('"')] if arg.count('"') >= 2 else arg[1:])
                    if not path:
                        continue  # the descriptor itself (AT_EMPTY_PATH), judged by its path
                    before = args[i - 1] if i > 0 else ""
                    at, dirfd = AT_FDCWD.match(before), DIRFD.match(before)
                    base = unquote(at.group(1)) if at else unquote(dirfd.group(1)) if dirfd else here
                    if not base.startswith("/"):
                        continue  # relative to a descriptor that is no folder (a pipe, a socket)
                    resolved = os.path.normpath(os.path.join(base, path))
                    if inside(resolved, course):
                        touched.append(resolved)
                    if name == "chdir" and ok:
                        cwd[pid] = last_chdir = resolved
            if name == "fchdir" and ok:
                dirs = FD.findall(args[0]) if args else []
                if dirs:
                    cwd[pid] = last_chdir = unquote(dirs[0])
            if touched:
                listed += 1
                shown = text if len(text) <= 200 else text[:197] + "..."
                print(f"  +{(stamp - first_time) * 1000:7.1f} ms  [{pid}] {shown}")
    print(f"  {listed} call(s) touching the course before the first window")
    return 0


if __name__ == "__main__":
    sys.exit(main())
