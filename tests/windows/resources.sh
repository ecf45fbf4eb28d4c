#!/usr/bin/env bash
# The resources of kelvora.exe read back from the built file: the program's
# icon (res/icons/kelvora.ico, the desktop entry's artwork at 16, 32, 48 and
# 256 pixels) image for image as the first icon group; the version resource
# that Explorer's Properties -> Details shows; the manifest's supported
# Windows and per-monitor DPI awareness. Read with the MinGW binutils
# (windres) and icoutils (wrestool).
# Usage: resources.sh KELVORA.EXE KELVORA.ICO LICENSE
set -euo pipefail
program="$1"
icon="$2"
license="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Icon: the group's entries name the icon images by resource number.
# The first group is the one Explorer shows; wrestool lists a named one quoted.
group=$(wrestool -l --type=14 "$program" | head -n 1 | sed -n "s/.*--name='\\{0,1\\}\\([^' ]*\\)'\\{0,1\\} .*/\\1/p")
[ -n "$group" ] || fail "no icon group in $program"
wrestool -x --raw --type=14 --name="$group" "$program" >"$work/group"
python3 - "$program" "$icon" "$work/group" <<'PY' || fail "the icon"
import struct, subprocess, sys
program, icon_file, group_file = sys.argv[1:]

def entries(data, entry_size, tail):
    _, kind, count = struct.unpack_from("<3H", data, 0)
    assert kind == 1, "not an icon"
    for k in range(count):
        width, height, _, _, planes, bits, size, last = struct.unpack_from(
            "<4B2HI" + tail, data, 6 + entry_size * k)
        yield width or 256, height or 256, bits, size, last

icon = open(icon_file, "rb").read()
wanted = {w: icon[offset:offset + size] for w, h, bits, size, offset in entries(icon, 16, "I")}
if sorted(wanted) != [16, 32, 48, 256]:
    sys.exit("%s holds %s pixel images, not 16, 32, 48 and 256" % (icon_file, sorted(wanted)))
found = {}
for w, h, bits, size, number in entries(open(group_file, "rb").read(), 14, "H"):
    found[w] = subprocess.run(["wrestool", "-x", "--raw", "--type=3", "--name=%d" % number, program],
                              check=True, capture_output=True).stdout
for w in sorted(wanted):
    if found.get(w) != wanted[w]:
        sys.exit("the %d pixel image of the program's icon is not the one of %s" % (w, icon_file))
PY
echo "ok: the program's icon at 16, 32, 48 and 256 pixels"

# Version resource: what Explorer shows, the copyright line as in LICENSE.
x86_64-w64-mingw32-windres -i "$program" -O rc >"$work/resources.rc" ||
  fail "windres cannot read the resources of $program"
copyright=$(grep -m 1 '^Copyright (c) ' "$license")
while IFS= read -r line; do
  grep -qxF -- "$line" <(sed 's/^ *//' "$work/resources.rc") || fail "no '$line' in the version resource"
done <<LINES
FILEVERSION 1, 0, 0, 0
PRODUCTVERSION 1, 0, 0, 0
VALUE "ProductName", "Kelvora"
VALUE "FileVersion", "1.0.0"
VALUE "ProductVersion", "1.0.0"
VALUE "FileDescription", "Kelvora hearing test"
VALUE "LegalCopyright", "$copyright"
VALUE "OriginalFilename", "kelvora.exe"
LINES
echo "ok: the version resource"

# Manifest: resource 1 of type 24, read by a program started from Explorer.
wrestool -x --raw --type=24 --name=1 "$program" >"$work/manifest.xml" ||
  fail "no manifest in $program"
python3 - "$work/manifest.xml" <<'PY' || fail "the manifest"
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
def values(path):
    return [e.get("Id") if e.get("Id") is not None else (e.text or "").strip()
            for e in root.iter() if e.tag.endswith("}" + path)]
checks = [
    ("supportedOS", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"),  # Windows 10 and 11
    ("dpiAwareness", "PerMonitorV2"),
    ("dpiAware", "true/pm"),
]
for tag, want in checks:
    if want not in values(tag):
        sys.exit("the manifest's %s is %s, not %s" % (tag, values(tag), want))
levels = [e.get("level") for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
if levels != ["asInvoker"]:
    sys.exit("the manifest asks to run as %s, not asInvoker" % levels)
PY
echo "ok: the manifest"
