#!/usr/bin/env bash
# check_windows_library.sh must reject the libraries a careless Windows build produces, not only pass ours:
# small DLLs built here on purpose, each with one fault, and one without.
# Usage: check_windows_library_test.sh WORK_DIR [CC] [CXX] [DLLTOOL] [OBJDUMP]
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
work="$1"
cc="${2:-x86_64-w64-mingw32-gcc}"
cxx="${3:-x86_64-w64-mingw32-g++}"
dlltool="${4:-x86_64-w64-mingw32-dlltool}"
objdump="${5:-x86_64-w64-mingw32-objdump}"
rm -rf "$work"
mkdir -p "$work"
cd "$work"

"$dlltool" --input-def "$here/../sdk/XPLM_64.def" --output-lib libXPLM_64.a

cat >entry_points.h <<'EOF'
#define EXPORT __declspec(dllexport)
__declspec(dllimport) void XPLMDebugString(const char*);
EXPORT int XPluginStart(char* n, char* s, char* d) { (void)n; (void)s; (void)d; XPLMDebugString("x"); return 1; }
EXPORT void XPluginStop(void) {}
EXPORT int XPluginEnable(void) { return 1; }
EXPORT void XPluginDisable(void) {}
EXPORT void XPluginReceiveMessage(int f, int m, void* p) { (void)f; (void)m; (void)p; }
EOF
cat >good.c <<'EOF'
#include "entry_points.h"
EOF
cat >user32.c <<'EOF'
#include "entry_points.h"
__declspec(dllimport) int __stdcall MessageBoxA(void*, const char*, const char*, unsigned);
int Helper(void) { return MessageBoxA(0, "a", "b", 0); }
EOF
cat >sixth.c <<'EOF'
#include "entry_points.h"
EXPORT int XPluginHelper(void) { return 6; }
EOF
# No dllexport anywhere: ld then exports every global symbol on its own.
cat >auto_export.c <<'EOF'
void XPLMDebugString(const char*);
int XPluginStart(char* n, char* s, char* d) { (void)n; (void)s; (void)d; XPLMDebugString("x"); return 1; }
void XPluginStop(void) {}
int XPluginEnable(void) { return 1; }
void XPluginDisable(void) {}
void XPluginReceiveMessage(int f, int m, void* p) { (void)f; (void)m; (void)p; }
int SomeInternalHelper(int x) { return x + 1; }
EOF
# The SDK defined in the library itself instead of imported from X-Plane's XPLM_64.dll.
cat >no_xplm.c <<'EOF'
#define EXPORT __declspec(dllexport)
void XPLMDebugString(const char* s) { (void)s; }
EXPORT int XPluginStart(char* n, char* s, char* d) { (void)n; (void)s; (void)d; XPLMDebugString("x"); return 1; }
EXPORT void XPluginStop(void) {}
EXPORT int XPluginEnable(void) { return 1; }
EXPORT void XPluginDisable(void) {}
EXPORT void XPluginReceiveMessage(int f, int m, void* p) { (void)f; (void)m; (void)p; }
EOF
cat >libstdcxx.cpp <<'EOF'
#include <string>
extern "C" {
#include "entry_points.h"
}
std::string Describe(int n) { return std::to_string(n) + " plugins"; }
int Length(int n) { return static_cast<int>(Describe(n).size()); }
EOF

"$cc" -shared -o good.dll good.c libXPLM_64.a
"$cc" -shared -o user32.dll user32.c libXPLM_64.a -luser32
"$cc" -shared -o sixth.dll sixth.c libXPLM_64.a
"$cc" -shared -o auto_export.dll auto_export.c libXPLM_64.a
"$cc" -shared -o no_xplm.dll no_xplm.c
# The compiler's own runtime linked as DLLs, as g++ does unless told -static-libstdc++.
"$cxx" -shared -shared-libgcc -o libstdcxx.dll libstdcxx.cpp libXPLM_64.a
printf 'not a library\n' >text.dll

status=0
# expect NAME pass|fail [TEXT]: the check's verdict on NAME.dll, and TEXT in its output when it fails.
expect() {
  local name="$1" verdict="$2" text="${3:-}" out rc=0
  out=$(bash "$here/check_windows_library.sh" "$name.dll" "$objdump" 2>&1) || rc=$?
  if [ "$verdict" = pass ] && [ $rc -ne 0 ]; then
    echo "WRONG: $name.dll should pass, the check said:"
    echo "$out"
    status=1
  elif [ "$verdict" = fail ] && [ $rc -eq 0 ]; then
    echo "WRONG: $name.dll should fail, the check passed it:"
    echo "$out"
    status=1
  elif [ -n "$text" ] && ! grep -qiF -- "$text" <<<"$out"; then
    echo "WRONG: $name.dll failed without naming '$text':"
    echo "$out"
    status=1
  else
    echo "ok: $name.dll: ${verdict}${text:+ ($text)}"
  fi
}
expect good pass
expect user32 fail "imports USER32.dll"
expect libstdcxx fail "imports libstdc++-6.dll"
expect sixth fail "XPluginHelper"
expect auto_export fail "SomeInternalHelper"
expect no_xplm fail "does not import XPLM_64.dll"
expect text fail "cannot read"
exit $status
