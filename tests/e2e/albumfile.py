#!/usr/bin/env python3
"""Prints an album file as JSON: the picture file in each frame and the Photo Box in order.

Used by the end-to-end tests to compare what was arranged on the screen with what was saved.
"""
import json
import struct
import sys


def read(path):
    b = open(path, "rb").read()
    assert b[:3] == b"VMB", "not an album file"
    pos = 3 + 7 + 8 + 40
    (length,) = struct.unpack_from("<h", b, pos)
    pos += 2 + length
    npics, npbox, nframes, ngrps = struct.unpack_from("<4h", b, pos)
    pos += 8 + 6
    names = []
    for _ in range(npics + npbox):
        names.append(b[pos:pos + 11].decode("latin-1").strip())
        pos += 89
    groups = []
    for _ in range(ngrps):
        name = b[pos:pos + 30].decode("latin-1").strip()
        first, last, count = struct.unpack_from("<3h", b, pos + 80)
        groups.append({"name": name, "first": first, "last": last, "count": count})
        pos += 86
    frames = struct.unpack_from("<%dh" % nframes, b, pos)
    return {
        "frames": {str(f + 1): names[s - 1] for f, s in enumerate(frames) if s > 0},
        "box": names[npics:],
        "groups": groups,
    }


if __name__ == "__main__":
    json.dump(read(sys.argv[1]), sys.stdout)
