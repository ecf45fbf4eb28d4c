#!/usr/bin/env bash
# kelvora-setup.exe under Wine as an administrator deploys it, in a fresh Wine
# prefix on an Xvfb of its own:
# - started without /S, the installer speaks Japanese on a Japanese Windows
#   and English otherwise;
# - /S installs exactly the programs, help\, LICENSE and the uninstaller into
#   Program Files\Kelvora, an all-users Start menu shortcut that starts the
#   program in its folder, and the uninstall key with what Apps & Features
#   shows;
# - the installed program runs end to end (end-to-end.sh) and writes its
#   history to %APPDATA%\Kelvora;
# - the uninstaller with /S leaves nothing of the install and the history as
#   it was.
# Usage: installer.sh KELVORA-SETUP.EXE KELVORA.EXE KELVORA-RENDER.EXE HELP-FOLDER LICENSE
set -euo pipefail
setup="$1"
program="$2"
render="$3"
help="$4"
license="$5"
. "$(cd "$(dirname "$0")" && pwd)/own-prefix-and-display.sh"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
for f in "$setup" "$program" "$render"; do
  [ -f "$f" ] || fail "no $f (scripts/build-windows makes it)"
done

start_own_prefix_and_display

drive="$KELVORA_WINEPREFIX/drive_c"
installed="$drive/Program Files/Kelvora"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvora.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvora'
# The data of one value of the uninstall key, as reg prints it.
reg_value() {
  "$wine_run" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' |
    sed -n "s/^    $1    REG_[A-Z_]*    //p"
}
key_present() { "$wine_run" reg query "$key" >/dev/null 2>&1; }

# The installer's first page in the system's language; closed unanswered.
window_timeout=60
while IFS='|' read -r locale caption; do
  LC_ALL=$locale LANG=$locale "$wine_run" "$setup" >/dev/null 2>&1 &
  pid=$!
  id=$(wait_for_window "^$caption\$") || fail "no installer window '$caption' under $locale"
  [ "$(xdotool getwindowname "$id")" = "$caption" ] || fail "the installer is titled '$(xdotool getwindowname "$id")'"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  echo "ok: under $locale the installer is '$caption'"
done <<'CAPTIONS'
ja_JP.UTF-8|Kelvora セットアップ
C.UTF-8|Kelvora Setup
CAPTIONS
key_present && fail "the installer left unanswered registered the program"
[ ! -e "$installed" ] || fail "the installer left unanswered installed files"

timeout 120 "$wine_run" "$setup" /S || fail "kelvora-setup.exe /S failed ($?)"

# Every file in place and nothing more: the programs as built, the help pages,
# the licence with Windows line ends, the uninstaller.
sed 's/$/\r/' "$license" >"$work/LICENSE"
while IFS='|' read -r name source; do
  cmp -s "$source" "$installed/$name" || fail "$name is not installed as built ($source)"
done <<FILES
kelvora.exe|$program
kelvora-render.exe|$render
LICENSE|$work/LICENSE
FILES
diff -r "$help" "$installed/help" >&2 || fail "help\\ is not installed as in the tree"
[ -f "$installed/Uninstall.exe" ] || fail "no Uninstall.exe"
{
  printf '%s\n' ./kelvora.exe ./kelvora-render.exe ./LICENSE ./Uninstall.exe
  (cd "$help" && find . -type f | sed 's|^\./|./help/|')
} | sort >"$work/expected-files"
(cd "$installed" && find . -type f) | sort >"$work/installed-files"
diff "$work/expected-files" "$work/installed-files" >&2 || fail "other files than expected are installed"
echo "ok: the files are installed"

# The shortcut's target (its link information) and its working folder.
python3 - "$shortcut" <<'PY' || fail "the Start menu shortcut"
import struct, sys
try:
    link = open(sys.argv[1], "rb").read()
except FileNotFoundError:
    sys.exit("no %s" % sys.argv[1])
flags = struct.unpack_from("<I", link, 0x14)[0]
at = 0x4C
if flags & 0x1:  # an item id list first
    at += 2 + struct.unpack_from("<H", link, at)[0]
target = None
if flags & 0x2:  # link information: the local base path
    size, _, _, _, base = struct.unpack_from("<5I", link, at)
    target = link[at + base:link.index(b"\0", at + base)].decode("latin-1")
    at += size
strings = {}
for bit, name in ((0x4, "name"), (0x8, "relative"), (0x10, "folder"), (0x20, "arguments"),
                  (0x40, "icon")):
    if flags & bit:
        count = struct.unpack_from("<H", link, at)[0]
        strings[name] = link[at + 2:at + 2 + 2 * count].decode("utf-16-le").rstrip("\0")
        at += 2 + 2 * count
wanted = {"target": r"C:\Program Files\Kelvora\kelvora.exe", "folder": r"C:\Program Files\Kelvora"}
found = {"target": target, "folder": strings.get("folder")}
for what in wanted:
    if found[what] != wanted[what]:
        sys.exit("the shortcut's %s is %r, not %r" % (what, found[what], wanted[what]))
PY
echo "ok: the Start menu shortcut starts the installed program in its folder"

while IFS='|' read -r name want; do
  got=$(reg_value "$name")
  [ "$got" = "$want" ] || fail "uninstall key: $name is '$got', not '$want'"
done <<'VALUES'
DisplayName|Kelvora
DisplayVersion|1.0.0
Publisher|The Kelvora developers
DisplayIcon|C:\Program Files\Kelvora\kelvora.exe,0
InstallLocation|C:\Program Files\Kelvora
UninstallString|"C:\Program Files\Kelvora\Uninstall.exe"
QuietUninstallString|"C:\Program Files\Kelvora\Uninstall.exe" /S
VALUES
# The installed size in KiB (a DWORD that reg prints in hexadecimal).
size=$(($(reg_value EstimatedSize)))
bytes=$(find "$installed" -type f -printf '%s\n' | awk '{ n += $1 } END { print n }')
[ $((size * 1024)) -le "$bytes" ] && [ $((size * 1024 + 1024)) -gt "$bytes" ] ||
  fail "uninstall key: EstimatedSize is $size KiB for $bytes bytes"
echo "ok: the uninstall key"

# The installed program, end to end, in the prefix and on the display of this test.
KELVORA_E2E_SHARED=1 "$here/end-to-end.sh" "$installed/kelvora.exe" "$installed/kelvora-render.exe" \
  "$installed/help" ja
history=("$drive"/users/*/AppData/Roaming/Kelvora/history.csv)
[ -f "${history[0]}" ] || fail "the installed program wrote no history to %APPDATA%\\Kelvora"
cp "${history[0]}" "$work/history.csv"

timeout 120 "$wine_run" "$installed/Uninstall.exe" /S || fail "Uninstall.exe /S failed ($?)"
# The uninstaller goes on from a copy of itself; its last step removes the key.
deadline=$((SECONDS + 120))
while key_present; do
  [ $SECONDS -lt $deadline ] || fail "the uninstaller has not removed its key in 120 s"
  sleep 0.5
done
[ ! -e "$installed" ] || fail "left after uninstalling: $(cd "$installed" && find . | head -5)"
[ ! -e "$shortcut" ] || fail "the Start menu shortcut is left after uninstalling"
cmp -s "$work/history.csv" "${history[0]}" || fail "uninstalling changed or removed the history"
echo "ok: uninstalled; the history is left as it was"
