#!/usr/bin/env python3
"""Types LINE and a Tab into an interactive bash on a pseudo-terminal, with zel's bash
completion loaded, and prints the words bash then runs, one a line: what the completion
inserted, quotes and all, as the shell reads it.

Usage: bash-readline.py COMPLETION-SCRIPT LINE
zel must be on the PATH."""
import os
import pty
import re
import select
import sys
import time

script, line = sys.argv[1], sys.argv[2]
pid, fd = pty.fork()
if pid == 0:
    os.environ.update(INPUTRC="/dev/null", TERM="dumb")
    os.execvp("bash", ["bash", "--norc", "--noprofile", "-i"])

deadline = time.monotonic() + 20
seen = b""


def read_until(pattern):
    """Reads the terminal until pattern shows, or fails at the deadline."""
    global seen
    while True:
        match = re.search(pattern, seen, re.S)
        if match:
            return match
        left = deadline - time.monotonic()
        if left <= 0:
            sys.exit("bash did not answer in time; it wrote: %r" % seen)
        ready, _, _ = select.select([fd], [], [], left)
        if ready:
            seen += os.read(fd, 4096)


# Each marker is split in what is typed, so that the terminal's echo of it never matches.
os.write(fd, b"PS1='$ '; source /usr/share/bash-completion/bash_completion; source '"
         + script.encode() + b"'; echo RE''ADY\n")
read_until(rb"READY\r\n\$ ")
seen = b""
# Tab completes; then Ctrl+A and Ctrl+E wrap the completed line in a printf of its words.
os.write(fd, line.encode() + b"\t\x01printf '<%s>\\n' \x05; echo DO''NE\n")
words = read_until(rb"\r\n((?:<[^\r\n]*>\r\n)*)DONE").group(1)
os.kill(pid, 9)
for word in re.findall(rb"<([^\r\n]*)>", words):
    print(word.decode())
