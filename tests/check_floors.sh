#!/usr/bin/env bash
# The plugin's subsystems stand on floors: a file includes its own floor and those below, never one above,
# and no record is written outside the subsystem that owns it.
# Usage: check_floors.sh SRC COUNT_OUTSIDE_WRITES_PY
set -eu
src="$1"
counter="$2"
floors=(os config tracker view ui plugin)  # from the ground up

rank() {
  local i
  for i in "${!floors[@]}"; do
    if [ "${floors[$i]}" = "$1" ]; then
      echo "$i"
      return
    fi
  done
  echo -1
}

status=0
while IFS= read -r file; do
  relative="${file#"$src"/}"
  own=$(rank "${relative%%/*}")
  [ "$own" -ge 0 ] || continue
  while IFS=: read -r line text; do
    target="${text#*\"}"
    target="${target%%/*}"
    if [ "$(rank "$target")" -gt "$own" ]; then
      echo "$relative:$line: $text runs up a floor"
      status=1
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]*/' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' \) | sort)

writes=$(python3 "$counter" "$src" --list)
echo "$writes"
if [ "$(tail -n 1 <<<"$writes")" != "0 writes to a record outside its owner" ]; then status=1; fi
[ $status -eq 0 ] && echo "every include stands on its own floor or one below"
exit $status
