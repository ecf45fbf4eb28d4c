# Checks shared by the install-layout and the package tests. Sourced.

APP_ID=org.kelvora.Kelvora
VOLUME_TITLE='スピーカの音量設定 [Kelvora]'
MAIN_TITLE='Kelvora ver 1.000'
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

pass() {
  echo "ok: $*"
}

# The value of KEY in the [Desktop Entry] group of FILE.
desktop_value() {
  sed -n '/^\[Desktop Entry\]/,/^\[/{s/^'"$1"'=//p}' "$2" | head -n 1
}

# Whether text holds kana or kanji.
has_japanese_text() {
  LC_ALL=C.UTF-8 grep -qP '[\p{Hiragana}\p{Katakana}\p{Han}]'
}

has_japanese() {
  has_japanese_text <<<"$1"
}

# PNG width and height, from the IHDR chunk.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{printf "%dx%d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'
}

# Checks an installed tree under ROOT whose prefix, as the files name it, is PREFIX.
# ROOT and PREFIX differ when the tree was staged or unpacked elsewhere.
check_tree() {
  local root="$1" prefix="$2" source_dir="$3" with_program="$4"
  local share="$root$prefix/share"

  if [ "$with_program" = 1 ]; then
    if [ -x "$root$prefix/bin/kelvora" ]; then pass "bin/kelvora"; else fail "no executable $prefix/bin/kelvora"; fi
  fi

  # The Japanese pages in help/, the English ones in help/en/.
  local page name
  for page in "$source_dir"/help/*.{html,css,svg} "$source_dir"/help/en/*.{html,css,svg}; do
    [ -e "$page" ] || continue
    name="${page#"$source_dir"/}"
    if cmp -s "$page" "$share/kelvora/$name"; then
      pass "$name"
    else
      fail "$name missing or different under $prefix/share/kelvora"
    fi
  done

  local size
  for size in 16 32; do
    local icon="$share/icons/hicolor/${size}x${size}/apps/kelvora.png"
    if [ -f "$icon" ] && [ "$(png_size "$icon")" = "${size}x${size}" ]; then
      pass "icon ${size}x${size}"
    else
      fail "no ${size}x${size} PNG icon at $icon"
    fi
  done
  if grep -q '<svg' "$share/icons/hicolor/scalable/apps/kelvora.svg" 2>/dev/null; then
    pass "scalable icon"
  else
    fail "no scalable icon"
  fi

  local entry="$share/applications/$APP_ID.desktop"
  if [ ! -f "$entry" ]; then
    fail "no desktop entry $entry"
  else
    local key want got
    for key in "Type=Application" "Name=Kelvora" "Exec=kelvora" "Icon=kelvora" "Terminal=false" \
               "Path=$prefix/share/kelvora"; do
      want="${key#*=}"
      got="$(desktop_value "${key%%=*}" "$entry")"
      if [ "$got" = "$want" ]; then pass "desktop $key"; else fail "desktop ${key%%=*} is '$got', want '$want'"; fi
    done
    # English by default, Japanese as the translation.
    for key in Name Comment GenericName; do
      got="$(desktop_value "$key" "$entry")"
      if [ -n "$got" ] && ! has_japanese "$got"; then pass "desktop $key in English"; else fail "desktop $key is '$got', want English"; fi
    done
    for key in "Name\\[ja\\]" "Comment\\[ja\\]"; do
      if [ -n "$(desktop_value "$key" "$entry")" ]; then pass "desktop $key"; else fail "desktop entry lacks $key"; fi
    done
    got="$(desktop_value "Comment\\[ja\\]" "$entry")"
    if has_japanese "$got"; then pass "desktop Comment[ja] in Japanese"; else fail "desktop Comment[ja] is '$got', want Japanese"; fi
    # The program opens help/index.html relative to the directory it starts in.
    local path
    path="$(desktop_value Path "$entry")"
    if [ -f "$root$path/help/index.html" ]; then
      pass "help reachable from the desktop Path"
    else
      fail "help/index.html does not resolve from Path=$path"
    fi
    validate_desktop "$entry"
  fi

  # Debian's machine-readable copyright file carries LICENSE word for word.
  local copyright="$share/doc/kelvora/copyright"
  if [ ! -f "$copyright" ]; then
    fail "no copyright file $copyright"
  elif [ "$(head -n 1 "$copyright")" != "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]; then
    fail "copyright file is not in the machine-readable format"
  elif [ "$(sed -n 's/^Copyright: //p' "$copyright")" != "$(sed -n 's/^Copyright (c) //p' "$source_dir/LICENSE")" ] ||
       ! diff <(sed -n '/^License: Expat$/,$p' "$copyright" | tail -n +2) \
              <(sed '1,/^Copyright (c) /d' "$source_dir/LICENSE" | tail -n +2 | sed 's/^/ /; s/^ $/ ./') \
              >/dev/null; then
    fail "copyright file does not carry the copyright and terms of LICENSE"
  else
    pass "copyright file"
  fi

  local meta="$share/metainfo/$APP_ID.metainfo.xml"
  if [ ! -f "$meta" ]; then
    fail "no AppStream metadata $meta"
  else
    grep -q "<id>$APP_ID</id>" "$meta" || fail "metainfo id is not $APP_ID"
    grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$meta" ||
      fail "metainfo does not launch $APP_ID.desktop"
    # Each summary and paragraph in English, then its Japanese translation.
    local element english japanese
    for element in name summary p; do
      english="$(grep -c "<$element>" "$meta")"
      japanese="$(grep -c "<$element xml:lang=\"ja\">" "$meta")"
      if [ "$english" -gt 0 ] && [ "$english" = "$japanese" ]; then
        pass "metainfo <$element> in English and Japanese"
      else
        fail "metainfo has $english <$element> and $japanese <$element xml:lang=\"ja\">"
      fi
    done
    if sed -e '/xml:lang="ja">.*<\//d' -e '/xml:lang="ja"/,/<\/p>/d' "$meta" | has_japanese_text; then
      fail "metainfo has Japanese outside xml:lang=\"ja\""
    else
      pass "metainfo defaults in English"
    fi
    validate_metainfo "$meta"
  fi
}

validate_desktop() {
  if ! command -v desktop-file-validate >/dev/null; then
    echo "note: desktop-file-validate not installed (desktop-file-utils); entry not validated"
    return
  fi
  local out
  # Hints are advice; errors and warnings fail.
  if out="$(desktop-file-validate "$1" 2>&1)" && ! grep -qE ': (error|warning):' <<<"$out"; then
    pass "desktop-file-validate"
  else
    fail "desktop-file-validate: $out"
  fi
}

validate_metainfo() {
  if ! command -v appstreamcli >/dev/null; then
    echo "note: appstreamcli not installed (appstream); metadata not validated"
    return
  fi
  local out
  if out="$(appstreamcli validate --no-net --strict --no-color "$1" 2>&1)"; then
    pass "appstreamcli validate"
  else
    fail "appstreamcli validate: $out"
  fi
}

finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}
