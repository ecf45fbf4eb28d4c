#!/usr/bin/env bash
# cmake --install into a scratch prefix: every file lands where the desktop
# expects it, the desktop entry's Path follows the prefix, and the desktop
# entry and the AppStream metadata validate.
# Usage: check-layout.sh BUILD_DIR WORK_DIR HAVE_PROGRAM(0|1)
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/common.sh"
build="$1" work="$2" have_program="$3"
source_dir="$(cd "$here/../.." && pwd)"

rm -rf "$work"
mkdir -p "$work"
prefix="$work/opt/kelvora"
if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  fail "cmake --install"
  finish
fi

[ "$have_program" = 1 ] || echo "note: the kelvora program is not built yet; checking the data files only"
check_tree "" "$prefix" "$source_dir" "$have_program"
finish
