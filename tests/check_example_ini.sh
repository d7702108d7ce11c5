#!/usr/bin/env bash
# The commented Talvenor.ini that pilots get in the package: the plugin reads it to its end, it binds no hotkey,
# and each of its commented hotkey examples works once the pilot uncomments it as the file says.
# Usage: check_example_ini.sh TALVENOR_SIM EXAMPLE_INI SETUP_FILE_CPP WORK_DIR [RUNNER...]
#   SETUP_FILE_CPP: the plugin's setup-file reader, whose table names the hotkey sections in slot order.
#   RUNNER: a program that runs TALVENOR_SIM (for example wine), if any.
set -eu
sim="$1"
example="$2"
reader="$3"
work="$4"
shift 4
rm -rf "$work"
mkdir -p "$work"
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

# The hotkey sections in slot order, from the reader's own table. (Every other key and its default value is
# checked by tests/config/example_ini_test.cpp, which parses this file with the plugin's code.)
hotkey_sections=$(grep -oE '\{"[A-Z0-9_]+", *SectionKind::Hotkey' "$reader" | cut -d'"' -f2)
if [ "$(wc -w <<<"$hotkey_sections")" -ne 16 ]; then
  echo "FAIL: cannot read the hotkey sections of $reader (found: $(echo $hotkey_sections))"
  exit 1
fi

# No hotkey is bound by default: the hotkey sections are there, commented out.
for section in $hotkey_sections; do
  grep -qx "; \[$section\]" "$example" || fail "no commented example of [$section]"
  grep -qi "^[^;]*\[ *$section *\]" "$example" && fail "[$section] is active; no hotkey is bound by default"
done
# Every key line keeps its blank before "=" (the reader drops the character there).
if grep -nE '^[; ]*[A-Za-z_]+[^ ]=' "$example"; then
  fail "key lines above lack the blank before \"=\""
fi

# The file as shipped, and with the debug log on, read to its end by the plugin in the simulated X-Plane.
run() { # NAME [RUNNER...]: runs $work/NAME.scn
  local name="$1"
  shift
  if ! "$@" "$sim" --quiet "$work/$name.scn" >"$work/$name.out" 2>&1; then
    fail "scenario $name:"
    cat "$work/$name.out"
  else
    echo "ok: scenario $name: $(tail -n 1 "$work/$name.out")"
  fi
}
scenario() { # NAME INI_TEXT_FILE EXPECTATIONS...
  local name="$1" ini="$2"
  shift 2
  {
    echo "write Resources/plugins/Talvenor/Talvenor.ini <<END_OF_INI"
    cat "$ini"
    echo "END_OF_INI"
    echo "start"
    printf '%s\n' "$@"
    echo "stop"
  } >"$work/$name.scn"
}

scenario shipped "$example" 'expect log contains "Debug Logging is disabled"' 'expect hotkeys 0'
run shipped "$@"

sed 's/^DEBUGLOGENABLED = 0$/DEBUGLOGENABLED = 1/' "$example" >"$work/debug.ini"
grep -q '^DEBUGLOGENABLED = 1$' "$work/debug.ini" || fail "the example has no line DEBUGLOGENABLED = 0"
scenario debug "$work/debug.ini" 'expect log contains "Parsing Successful\n"' 'expect log lacks "Parse Error"' \
  'expect log lacks "invalid"' 'expect log contains "Debug Logging is enabled"' 'expect hotkeys 0'
run debug "$@"

# Each hotkey example uncommented as the file tells the pilot to: all sixteen registered, on the keys shown,
# and the view-control toggle switches the 3-D cockpit view on.
sed -E 's/^; (\[[A-Z0-9_]+\])$/\1/; s/^; (HOTKEY(MODIFIERS)? = )/\1/' "$work/debug.ini" >"$work/hotkeys.ini"
expectations=('expect log contains "Parsing Successful\n"' 'expect hotkeys 16')
slot=0
for section in $hotkey_sections; do
  key=$(awk -v s="[$section]" '$0 == s {f = 1; next} /\[/ {f = 0} f && /^HOTKEY =/ {print $3}' "$work/hotkeys.ini")
  mods=$(awk -v s="[$section]" '$0 == s {f = 1; next} /\[/ {f = 0} f && /^HOTKEYMODIFIERS =/ {print $3}' \
    "$work/hotkeys.ini")
  if [ -z "$key" ]; then
    fail "[$section] has no HOTKEY example"
  else
    # Registered with DOWN added unless the example names DOWN or UP, so that a tap runs it once.
    flags=$mods
    [[ "+$mods+" =~ \+(DOWN|UP)\+ ]] || flags=${mods:+$mods+}DOWN
    expectations+=("expect hotkey $key $flags \"$(printf '%02d' $slot)\"")
  fi
  [ "$section" = TL_TOGGLE ] && toggle="key $key $mods"
  slot=$((slot + 1))
done
expectations+=("set sim/graphics/view/view_type 1000" "${toggle:-key F24}" "expect sim/graphics/view/view_type 1026")
scenario hotkeys "$work/hotkeys.ini" "${expectations[@]}"
run hotkeys "$@"

[ $status -eq 0 ] && echo "$example: read to its end, no hotkey bound, the sixteen hotkey examples work"
exit $status
