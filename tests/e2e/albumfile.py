#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints an album file as JSON: the picture file in each frame, the Photo Box in order, the
groups, the album description and each picture's short and long description.

Used by the end-to-end tests to compare what was arranged on the screen with what was saved.
"""
import json
import struct
import sys


def read(path):
    b = open(path, "rb").read()
    assert b[:3] == b"VMB", "not an album file"
    albdesc = b[18:58].decode("latin-1").strip()
    pos = 3 + 7 + 8 + 40
    (length,) = struct.unpack_from("<h", b, pos)
    pos += 2 + length
    npics, npbox, nframes, ngrps = struct.unpack_from("<4h", b, pos)
    pos += 8 + 6
    names = []
    descs = {}
    for _ in range(npics + npbox):
        name = b[pos:pos + 11].decode("latin-1").strip()
        names.append(name)
        descs[name] = [b[pos + 13:pos + 33].decode("latin-1").strip(),
                       b[pos + 33:pos + 83].decode("latin-1").strip()]
        pos += 89
    groups = []
    for _ in range(ngrps):
        name = b[pos:pos + 30].decode("latin-1").strip()
        desc = b[pos + 30:pos + 80].decode("latin-1").strip()
        first, last, count = struct.unpack_from("<3h", b, pos + 80)
        groups.append({"name": name, "desc": desc, "first": first, "last": last,
                       "count": count})
        pos += 86
    frames = struct.unpack_from("<%dh" % nframes, b, pos)
    return {
        "frames": {str(f + 1): names[s - 1] for f, s in enumerate(frames) if s > 0},
        "box": names[npics:],
        "groups": groups,
        "albdesc": albdesc,
        "descs": descs,
    }


def differences(frames, box, saved):
    """Where a saved album (read()) holds other pictures than the frames and Photo Box expected,
    a line each; none when they agree."""
    lines = ["frame %s expected %s saved %s" % (f, frames.get(f), saved["frames"].get(f))
             for f in sorted(set(frames) | set(saved["frames"]), key=int)
             if frames.get(f) != saved["frames"].get(f)]
    if box != saved["box"]:
        lines.append("box expected %s saved %s" % (box, saved["box"]))
    return lines


if __name__ == "__main__":
    json.dump(read(sys.argv[1]), sys.stdout)
