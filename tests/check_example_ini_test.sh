#!/usr/bin/env bash
# check_example_ini.sh must reject the mistakes an edit of the example Talvenor.ini can make, each of which
# would mislead pilots or make the plugin stop reading the file.
# Usage: check_example_ini_test.sh TALVENOR_SIM EXAMPLE_INI SETUP_FILE_CPP WORK_DIR
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
sim="$1"
example="$2"
reader="$3"
work="$4"
rm -rf "$work"
mkdir -p "$work"

status=0
# expect NAME pass|fail TEXT SED_SCRIPT: the check's verdict on the example edited by SED_SCRIPT.
expect() {
  local name="$1" verdict="$2" text="$3" edit="$4" out rc=0
  sed -e "$edit" "$example" >"$work/$name.ini"
  if [ "$verdict" = fail ] && cmp -s "$example" "$work/$name.ini"; then
    echo "WRONG: the edit '$edit' for $name changes nothing in $example"
    status=1
    return
  fi
  out=$(bash "$here/check_example_ini.sh" "$sim" "$work/$name.ini" "$reader" "$work/$name" 2>&1) || rc=$?
  if [ "$verdict" = pass ] && [ $rc -ne 0 ]; then
    echo "WRONG: $name should pass, the check said:"
    echo "$out"
    status=1
  elif [ "$verdict" = fail ] && [ $rc -eq 0 ]; then
    echo "WRONG: $name should fail, the check passed it:"
    echo "$out"
    status=1
  elif [ -n "$text" ] && ! grep -qF -- "$text" <<<"$out"; then
    echo "WRONG: $name failed without naming '$text':"
    echo "$out"
    status=1
  else
    echo "ok: $name: $verdict${text:+ ($text)}"
  fi
}

expect unchanged pass "" ""
expect no_blank fail "lack the blank before" 's/^AUTOSTART = 0$/AUTOSTART= 0/'
expect misspelt fail "Parse Error" 's/^AUTOSTART = 0$/AUTOSTAR = 0/'
expect unknown_section fail "is an invalid section name" 's/^\[CONFIG\]$/[CONFIGURATION]/'
expect bound_by_default fail "[TL_TOGGLE] is active" 's/^; \[TL_TOGGLE\]$/[TL_TOGGLE]/'
expect unknown_key_name fail "scenario hotkeys" 's/^; HOTKEY = V$/; HOTKEY = F25/'
expect no_hotkey_example fail "[LIMITS_TOGGLE] has no HOTKEY example" '/^; HOTKEY = L$/d'
exit $status
