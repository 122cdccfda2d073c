#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every text the sources mark for translation is in each catalogue and translated there, and
# the catalogues hold nothing the sources no longer have: lupdate is run over the sources
# onto a copy of each .ts and the result is read back.
#   test_catalogue.sh LUPDATE SOURCE_DIR
set -euo pipefail
lupdate=$1
src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

status=0
for ts in "$src"/translations/*.ts; do
  copy=$tmp/$(basename "$ts")
  cp "$ts" "$copy"
  (cd "$src" && "$lupdate" -silent -locations none -extensions cpp,h \
    app platform store windows -ts "$copy")
  python3 - "$copy" "$(basename "$ts")" <<'PY' || status=1
import re, sys
import xml.etree.ElementTree as ET

path, name = sys.argv[1], sys.argv[2]
def text(e):
    # A carriage return is kept as <byte value="xd"/>.
    out = e.text or ""
    for c in e:
        out += (chr(int(c.get("value").removeprefix("x"), 16)) if c.tag == "byte" else "") + (c.tail or "")
    return out

faults = []
for ctx in ET.parse(path).getroot().iter("context"):
    cname = ctx.findtext("name")
    for m in ctx.iter("message"):
        src = text(m.find("source"))
        tr = m.find("translation")
        where = f"{name}: [{cname}] {src!r}"
        kind = tr.get("type")
        if kind in ("vanished", "obsolete"):
            faults.append(f"{where}: no longer in the sources")
            continue
        if kind == "unfinished" or not text(tr):
            faults.append(f"{where}: not translated")
            continue
        t = text(tr)
        # The same arguments, each as often, or .arg() fills the wrong places.
        if sorted(re.findall(r"%\d", src)) != sorted(re.findall(r"%\d", t)):
            faults.append(f"{where}: arguments differ in {t!r}")
        # A shortcut in the English needs exactly one in the translation, and none without.
        marks = lambda s: len(re.findall(r"&(?!&)", s.replace("&&", "")))
        if marks(src) != marks(t):
            faults.append(f"{where}: shortcut marks differ in {t!r}")
        # Lines of a message box and leading/trailing blanks that glue parts together.
        if src.count("\r") != t.count("\r"):
            faults.append(f"{where}: line breaks differ in {t!r}")
        if (src[:1] == " ") != (t[:1] == " ") or (src[-1:] == " ") != (t[-1:] == " "):
            faults.append(f"{where}: surrounding blanks differ in {t!r}")
    # Two shortcuts of a window that differ in English differ in the translation too.
    keys = []
    for m in ctx.iter("message"):
        src, t = text(m.find("source")), text(m.find("translation"))
        ks, kt = (re.search(r"&([^&\s])", s.replace("&&", "")) for s in (src, t))
        if ks and kt:
            keys.append((src, t, ks.group(1).lower(), kt.group(1).lower()))
    for i, (s1, t1, e1, g1) in enumerate(keys):
        for s2, t2, e2, g2 in keys[i + 1:]:
            if e1 != e2 and g1 == g2:
                faults.append(f"{name}: [{cname}] {t1!r} and {t2!r} share the shortcut {g1!r}")
for f in faults:
    print(f)
sys.exit(1 if faults else 0)
PY
done
exit $status
