#!/usr/bin/env bash
# Assembles what pilots download: dist/Talvenor/ and dist/TalvenorUDP/ (unzipped into X-Plane's
# Resources/plugins/, one folder per plugin) and dist/Talvenor-<version>.zip holding both, from a Linux build
# and a Windows build of the same version.
# Usage: package.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR [DIST_DIR]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
linux_build="$1"
windows_build="$2"
dist="${3:-$root/dist}"
lin="$linux_build/lin_x64/Talvenor.xpl"
win="$windows_build/win_x64/Talvenor.xpl"
lin_udp="$linux_build/lin_x64/TalvenorUDP.xpl"
win_udp="$windows_build/win_x64/TalvenorUDP.xpl"

version_of() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt" 2>/dev/null
}
version="$(version_of "$linux_build")"
if [ -z "$version" ] || [ "$version" != "$(version_of "$windows_build")" ]; then
  echo "package: the two builds must be configured from the same version (linux: '$version'," \
    "windows: '$(version_of "$windows_build")')" >&2
  exit 1
fi
for library in "$lin" "$win" "$lin_udp" "$win_udp"; do
  [ -f "$library" ] || { echo "package: $library is missing; build it first" >&2; exit 1; }
done

# Nothing leaves here that X-Plane could not load on a pilot's machine.
for library in "$lin" "$lin_udp"; do bash "$root/tests/check_exports.sh" "$library"; done
for library in "$win" "$win_udp"; do bash "$root/tests/check_windows_library.sh" "$library"; done

folder="$dist/Talvenor"
udp_folder="$dist/TalvenorUDP"
zip_file="$dist/Talvenor-$version.zip"
rm -rf "$folder" "$udp_folder" "$zip_file"
mkdir -p "$folder/win_x64" "$folder/lin_x64" "$udp_folder/win_x64" "$udp_folder/lin_x64"
cp "$win" "$folder/win_x64/Talvenor.xpl"
cp "$lin" "$folder/lin_x64/Talvenor.xpl"
cp "$root/examples/Talvenor.ini" "$folder/Talvenor.ini"
cp "$root/packaging/INSTALL.txt" "$folder/INSTALL.txt"
cp "$win_udp" "$udp_folder/win_x64/TalvenorUDP.xpl"
cp "$lin_udp" "$udp_folder/lin_x64/TalvenorUDP.xpl"
cp "$root/companion/udp/TalvenorUDP.ini" "$udp_folder/TalvenorUDP.ini"
# -D: no folder entries, -X: no owner or Unix times beyond the plain ones; the check below lists files only.
(cd "$dist" && zip -q -X -D -r "$(basename "$zip_file")" Talvenor TalvenorUDP)

python3 "$root/scripts/check_package.py" "$zip_file" --files "$dist"
python3 - "$zip_file" <<'EOF'
import os, sys, zipfile
path = sys.argv[1]
with zipfile.ZipFile(path) as archive:
    for info in archive.infolist():
        print(f"{info.file_size:>10}  {info.compress_size:>10}  {info.filename}")
print(f"{os.path.getsize(path):>10}  {path}")
EOF
