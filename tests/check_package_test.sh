#!/usr/bin/env bash
# scripts/check_package.py must accept the zip pilots need and reject the ones that would leave X-Plane without
# the plugin: extra, missing or misplaced files, a library of the wrong platform, a file not the one built.
# Usage: check_package_test.sh WORK_DIR
set -eu
check="$(cd "$(dirname "$0")/.." && pwd)/scripts/check_package.py"
work="$1"
rm -rf "$work"
mkdir -p "$work"
cd "$work"

# Headers just long enough for the platform checks: a PE32+ DLL for x86-64, an ELF64 x86-64 shared object.
python3 - <<'EOF'
import struct
def pe(machine, characteristics):
    data = bytearray(512)
    data[0:2] = b"MZ"
    struct.pack_into("<I", data, 0x3C, 0x80)
    data[0x80:0x84] = b"PE\0\0"
    struct.pack_into("<H", data, 0x84, machine)
    struct.pack_into("<H", data, 0x96, characteristics)
    return bytes(data)
def elf(machine):
    data = bytearray(64)
    data[0:6] = b"\x7fELF\x02\x01"
    struct.pack_into("<HH", data, 16, 3, machine)
    return bytes(data)
open("win64.dll", "wb").write(pe(0x8664, 0x2022))
open("win32.dll", "wb").write(pe(0x14C, 0x2102))
open("win64.exe", "wb").write(pe(0x8664, 0x0022))
open("lin64.so", "wb").write(elf(62))
open("arm64.so", "wb").write(elf(183))
EOF

# make NAME [WIN LIN]: dist folder NAME/ holding a correct package, and NAME.zip of its two plugin folders.
make_dist() {
  local name="$1" win="${2:-win64.dll}" lin="${3:-lin64.so}"
  mkdir -p "$name/Talvenor/win_x64" "$name/Talvenor/lin_x64" "$name/TalvenorUDP/win_x64" "$name/TalvenorUDP/lin_x64"
  cp "$win" "$name/Talvenor/win_x64/Talvenor.xpl"
  cp "$lin" "$name/Talvenor/lin_x64/Talvenor.xpl"
  echo "[DEBUG]" >"$name/Talvenor/Talvenor.ini"
  echo "Unzip into Resources/plugins/." >"$name/Talvenor/INSTALL.txt"
  cp win64.dll "$name/TalvenorUDP/win_x64/TalvenorUDP.xpl"
  cp lin64.so "$name/TalvenorUDP/lin_x64/TalvenorUDP.xpl"
  echo "[UDP]" >"$name/TalvenorUDP/TalvenorUDP.ini"
}
zip_dist() {
  (cd "$1" && zip -q -X -D -r "../$1.zip" Talvenor TalvenorUDP)
}

status=0
expect() { # NAME pass|fail [TEXT] [--files DIR]
  local name="$1" verdict="$2" text="${3:-}" out rc=0
  shift 3 || shift $#
  out=$(python3 "$check" "$name.zip" "$@" 2>&1) || rc=$?
  if [ "$verdict" = pass ] && [ $rc -ne 0 ]; then
    echo "WRONG: $name.zip should pass, the check said:"
    echo "$out"
    status=1
  elif [ "$verdict" = fail ] && [ $rc -eq 0 ]; then
    echo "WRONG: $name.zip should fail, the check passed it: $out"
    status=1
  elif [ -n "$text" ] && ! grep -qF -- "$text" <<<"$out"; then
    echo "WRONG: $name.zip failed without naming '$text':"
    echo "$out"
    status=1
  else
    echo "ok: $name.zip: $verdict${text:+ ($text)}"
  fi
}

make_dist good && zip_dist good
expect good pass "" --files good

make_dist extra && echo notes >extra/Talvenor/notes.txt && zip_dist extra
expect extra fail "entries that do not belong: Talvenor/notes.txt"

make_dist no_ini && rm no_ini/Talvenor/Talvenor.ini && zip_dist no_ini
expect no_ini fail "missing: Talvenor/Talvenor.ini"

# Zipped from one level too high: unzipped into plugins/ it gives plugins/dist/Talvenor/...
make_dist nested && (cd nested && mkdir dist && mv Talvenor dist/ && zip -q -X -D -r ../nested.zip dist)
expect nested fail "missing: Talvenor/INSTALL.txt"

# Without -D the zip holds folder entries too: not exactly the four files.
make_dist folders && (cd folders && zip -q -X -r ../folders.zip Talvenor)
expect folders fail "Talvenor/win_x64/"

make_dist swapped lin64.so win64.dll && zip_dist swapped
expect swapped fail "win_x64/Talvenor.xpl is not a 64-bit Windows DLL"
make_dist win32 win32.dll && zip_dist win32
expect win32 fail "win_x64/Talvenor.xpl is not a 64-bit Windows DLL"
make_dist program win64.exe && zip_dist program
expect program fail "win_x64/Talvenor.xpl is not a 64-bit Windows DLL"
make_dist arm win64.dll arm64.so && zip_dist arm
expect arm fail "lin_x64/Talvenor.xpl is not a 64-bit Linux shared object"
make_dist udp_swapped && cp lin64.so udp_swapped/TalvenorUDP/win_x64/TalvenorUDP.xpl && zip_dist udp_swapped
expect udp_swapped fail "TalvenorUDP/win_x64/TalvenorUDP.xpl is not a 64-bit Windows DLL"
make_dist no_udp && (cd no_udp && zip -q -X -D -r ../no_udp.zip Talvenor)
expect no_udp fail "missing: TalvenorUDP/TalvenorUDP.ini"

make_dist empty_ini && : >empty_ini/Talvenor/Talvenor.ini && zip_dist empty_ini
expect empty_ini fail "Talvenor/Talvenor.ini is empty"

# The zip must hold the files just assembled, not stale ones.
make_dist stale && zip_dist stale && echo "[CONFIG]" >stale/Talvenor/Talvenor.ini
expect stale fail "Talvenor/Talvenor.ini differs" --files stale

echo "not a zip" >broken.zip
expect broken fail "cannot read"
exit $status
