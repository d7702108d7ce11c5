#!/usr/bin/env bash
# Checks that sdk/XPLM_64.def and sdk/XPWidgets_64.def export exactly the functions the headers
# declare, so the MinGW import libraries never lag behind the declarations.
# Usage: check_def_files.sh [sdk-dir]   (defaults to the sdk/ folder of this repository)
set -euo pipefail

sdk_dir="${1:-$(cd "$(dirname "$0")/../.." && pwd)/sdk}"
status=0

# Names declared with the given API macro, one per line, sorted. Declarations may span lines, so
# the headers are joined into one line first; comments and preprocessor lines (the macro's own
# definition) are dropped so they cannot match.
declared() {
  local macro="$1"
  shift
  sed -e 's://.*$::' -e '/^[[:space:]]*#/d' "$@" | tr '\n' ' ' | sed -e 's:/\*[^*]*\*/::g' |
    grep -oE "(^|[^A-Za-z0-9_])${macro}[[:space:]]+[^;(){}#]*\(" |
    sed -E 's/[[:space:]]*\($//; s/.*[^A-Za-z0-9_]//' | LC_ALL=C sort
}

# Exported names of a .def file, in file order.
exported() {
  awk 'f && NF { print $1 } /^EXPORTS/ { f = 1 }' "$1"
}

check() {
  local def="$1" dll="$2" macro="$3"
  shift 3
  local want got
  want="$(declared "$macro" "$@")"
  got="$(exported "$def")"
  if [ -z "$want" ]; then
    echo "error: no ${macro} functions found in $*" >&2
    status=1
    return
  fi
  if ! grep -qx "LIBRARY ${dll}" "$def"; then
    echo "error: ${def} does not start with 'LIBRARY ${dll}'" >&2
    status=1
  fi
  if [ "$(printf '%s\n' "$got" | uniq -d)" != "" ]; then
    echo "error: ${def} lists a name twice" >&2
    status=1
  fi
  if [ "$got" != "$(printf '%s\n' "$got" | LC_ALL=C sort)" ]; then
    echo "error: ${def} is not sorted" >&2
    status=1
  fi
  local missing extra
  missing="$(LC_ALL=C comm -23 <(printf '%s\n' "$want") <(printf '%s\n' "$got" | LC_ALL=C sort))"
  extra="$(LC_ALL=C comm -13 <(printf '%s\n' "$want") <(printf '%s\n' "$got" | LC_ALL=C sort))"
  if [ -n "$missing" ]; then
    echo "error: declared but missing from ${def}:" >&2
    printf '%s\n' "$missing" | sed 's/^/  /' >&2
    status=1
  fi
  if [ -n "$extra" ]; then
    echo "error: in ${def} but not declared with ${macro}:" >&2
    printf '%s\n' "$extra" | sed 's/^/  /' >&2
    status=1
  fi
  echo "${def}: $(printf '%s\n' "$want" | wc -l) functions checked"
}

# A function without its API macro would be neither imported on Windows nor listed above; catch
# it by looking for prototypes (a line starting with a type and ending in ');') lacking the macro.
unmarked="$(cat "$sdk_dir"/*.h | sed -e 's://.*$::' -e '/^[[:space:]]*#/d' | tr '\n' ' ' | tr ';{}' '\n' |
  grep -E '^[[:space:]]*[A-Za-z_][A-Za-z0-9_ *]*[[:space:]*][A-Za-z_][A-Za-z0-9_]*[[:space:]]*\(' |
  grep -vE '(XPLM_API|XPWIDGETS_API|typedef)' || true)"
if [ -n "$unmarked" ]; then
  echo "error: prototypes without XPLM_API/XPWIDGETS_API:" >&2
  printf '%s\n' "$unmarked" >&2
  status=1
fi

# Each library's functions belong in its own headers, so a plugin's includes tell which DLL it needs.
widget_headers=("$sdk_dir"/XPWidget*.h "$sdk_dir"/XPStandardWidgets.h)
xplm_headers=("$sdk_dir"/XPLM*.h)
if [ -n "$(declared XPWIDGETS_API "${xplm_headers[@]}")" ]; then
  echo "error: XPWIDGETS_API function declared in an XPLM header" >&2
  status=1
fi
if [ -n "$(declared XPLM_API "${widget_headers[@]}")" ]; then
  echo "error: XPLM_API function declared in a widgets header" >&2
  status=1
fi

check "$sdk_dir/XPLM_64.def" XPLM_64.dll XPLM_API "$sdk_dir"/*.h
check "$sdk_dir/XPWidgets_64.def" XPWidgets_64.dll XPWIDGETS_API "$sdk_dir"/*.h

exit "$status"
