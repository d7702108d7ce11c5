#!/usr/bin/env bash
# Assembles what pilots download: dist/Talvenor/ (unzipped into X-Plane's Resources/plugins/) and
# dist/Talvenor-<version>.zip, from a Linux build and a Windows build of the same version.
# Usage: package.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR [DIST_DIR]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
linux_build="$1"
windows_build="$2"
dist="${3:-$root/dist}"
lin="$linux_build/lin_x64/Talvenor.xpl"
win="$windows_build/win_x64/Talvenor.xpl"

version_of() {
  sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt" 2>/dev/null
}
version="$(version_of "$linux_build")"
if [ -z "$version" ] || [ "$version" != "$(version_of "$windows_build")" ]; then
  echo "package: the two builds must be configured from the same version (linux: '$version'," \
    "windows: '$(version_of "$windows_build")')" >&2
  exit 1
fi
for library in "$lin" "$win"; do
  [ -f "$library" ] || { echo "package: $library is missing; build it first" >&2; exit 1; }
done

# Nothing leaves here that X-Plane could not load on a pilot's machine.
bash "$root/tests/check_exports.sh" "$lin"
bash "$root/tests/check_windows_library.sh" "$win"

folder="$dist/Talvenor"
zip_file="$dist/Talvenor-$version.zip"
rm -rf "$folder" "$zip_file"
mkdir -p "$folder/win_x64" "$folder/lin_x64"
cp "$win" "$folder/win_x64/Talvenor.xpl"
cp "$lin" "$folder/lin_x64/Talvenor.xpl"
cp "$root/examples/Talvenor.ini" "$folder/Talvenor.ini"
cp "$root/packaging/INSTALL.txt" "$folder/INSTALL.txt"
# -D: no folder entries, -X: no owner or Unix times beyond the plain ones; the check below lists files only.
(cd "$dist" && zip -q -X -D -r "$(basename "$zip_file")" Talvenor)

python3 "$root/scripts/check_package.py" "$zip_file" --files "$dist"
python3 - "$zip_file" <<'EOF'
import os, sys, zipfile
path = sys.argv[1]
with zipfile.ZipFile(path) as archive:
    for info in archive.infolist():
        print(f"{info.file_size:>10}  {info.compress_size:>10}  {info.filename}")
print(f"{os.path.getsize(path):>10}  {path}")
EOF
