#!/usr/bin/env bash
# check_floors.sh must pass the plugin's sources as they are and name what breaks the rule in a copy: an
# include that runs up a floor (with its file and line), and a write to a record outside its owner.
# Usage: check_floors_test.sh SRC COUNT_OUTSIDE_WRITES_PY WORK_DIR
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
src="$1"
counter="$2"
copy="$3/floors-src"
status=0
# expect FILE LINE TEXT: the copy with LINE appended to FILE fails, naming TEXT.
expect() {
  local out rc=0
  rm -rf "$copy" && cp -r "$src" "$copy" && echo "$2" >>"$copy/$1"
  out=$(bash "$here/check_floors.sh" "$copy" "$counter" 2>&1) || rc=$?
  if [ $rc -eq 0 ] || ! grep -qF -- "$3" <<<"$out"; then
    echo "WRONG: $1 with '$2' should fail naming '$3'; the check said:"
    echo "$out"
    status=1
  else
    echo "ok: $3"
  fi
}
mkdir -p "$3"
bash "$here/check_floors.sh" "$src" "$counter" >/dev/null || { echo "WRONG: the sources as they are fail"; status=1; }
next=$(($(wc -l <"$src/view/view_state.cpp") + 1))
expect view/view_state.cpp '#include "ui/panels.h"' "view/view_state.cpp:$next: #include \"ui/panels.h\" runs up a floor"
expect config/log.cpp '  #include "plugin/state.h"' '#include "plugin/state.h" runs up a floor'
expect ui/panels.cpp 'void F() { View().pluginEnabled = true; }' 'View().pluginEnabled ='
rm -rf "$copy"
exit $status
