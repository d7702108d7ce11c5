#!/usr/bin/env bash
# A pilot's machine has Windows and X-Plane, nothing else: a plugin library of the package (win_x64/Talvenor.xpl,
# win_x64/TalvenorUDP.xpl) may import only from X-Plane's SDK libraries and from DLLs every Windows has, and
# exports the five entry points X-Plane calls, nothing more.
# Usage: check_windows_library.sh LIBRARY [OBJDUMP]
set -eu
library="$1"
objdump="${2:-x86_64-w64-mingw32-objdump}"

if ! dump=$("$objdump" -p "$library" 2>&1); then
  echo "$library: $objdump cannot read it:"
  echo "$dump"
  exit 1
fi
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

grep -q "file format pei-x86-64" <<<"$dump" || fail "$library is not a 64-bit Windows library"

imports=$(sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' <<<"$dump" | tr -d '\r' | LC_ALL=C sort -fu)
echo "imports of $library:"
sed 's/^/  /' <<<"$imports"
allowed='^(xplm_64\.dll|xpwidgets_64\.dll|kernel32\.dll|advapi32\.dll|ws2_32\.dll|msvcrt\.dll|ucrtbase\.dll|api-ms-win-crt-[a-z0-9-]+\.dll)$'
while IFS= read -r dll; do
  [ -n "$dll" ] || continue
  grep -qiE "$allowed" <<<"$dll" || fail "imports $dll, which a pilot's Windows does not have"
done <<<"$imports"
# The SDK comes from X-Plane's own XPLM_64.dll; a library without that import linked something else in its place.
grep -qix "XPLM_64.dll" <<<"$imports" || fail "does not import XPLM_64.dll"
# objdump lists only ordinary imports; a delay-loaded DLL would escape the list above.
if grep -E "^Entry d " <<<"$dump" | grep -qvE "^Entry d 0+ 0+ "; then
  fail "has delay-loaded imports"
fi

expected="XPluginDisable XPluginEnable XPluginReceiveMessage XPluginStart XPluginStop"
exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && /^[[:space:]]*\[/ {print $NF; next} t {t = 0}' \
  <<<"$dump" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')
# Exports by ordinal alone have no name; the address table counts every export.
count=$(sed -n 's/^[[:space:]]*Export Address Table[[:space:]]\+\([0-9a-fA-F]\+\)$/\1/p' <<<"$dump" | head -n 1)
echo "exports of $library (${count:-0} in the address table):"
echo "  $exports"
[ "$exports" = "$expected" ] || fail "exports differ from the five entry points: $expected"
[ $((16#${count:-0})) -eq 5 ] || fail "the export address table holds $((16#${count:-0})) entries, not 5"

if [ $status -eq 0 ]; then
  echo "$library: imports only X-Plane's and Windows' own libraries, exports the five entry points only"
fi
exit $status
