#!/usr/bin/python3
"""Peer figure for bench_hl7parse: parses every message of a corpus with Debian's
python3-hl7 (hl7.parse) and prints one line "messages bytes seconds".

The corpus is Latin-1 text, one message per line: segments end with CR, messages are
separated by LF. Reading and splitting the file is not timed; hl7.parse of each message is.

    /usr/bin/python3 bench/hl7parse_peer.py CORPUS
"""

import sys
import time

import hl7


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: hl7parse_peer.py CORPUS\n")
        return 2
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    messages = [m.decode("latin-1") for m in data.split(b"\n") if m]
    total = sum(len(m) for m in messages)
    segments = 0
    start = time.perf_counter()
    for m in messages:
        segments += len(hl7.parse(m))
    elapsed = time.perf_counter() - start
    print(len(messages), total, "%.6f" % elapsed, segments)
    return 0


if __name__ == "__main__":
    sys.exit(main())
