// The plugin's file functions on Windows: read-only folders, a full disk and the debugger output
// (OutputDebugString) captured into the host.
//
// Windows has no interposition by symbol name, so the host rewrites the plugin library's import address
// table once it is loaded: its imports of the C runtime's file functions and of KERNEL32's file functions
// lead here, and each passes on to the function the plugin had imported. The C runtime's own calls into
// KERNEL32 do not come through here (they use the runtime's imports), so nothing is refused twice. Faults
// apply only while plugin code runs, with the same FileFaults as on POSIX; a refused change fails with
// EACCES / ERROR_ACCESS_DENIED, as a folder the user may not write does on Windows, and a full disk with
// ENOSPC / ERROR_DISK_FULL.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <type_traits>

#include "file_faults.h"
#include "host.h"
#include "platform.h"
#include "stream_failures.h"

namespace {

// --- the functions the plugin imported ---

// An imported function's name as a template argument, so that each import has a hook and a next function of
// its own.
template <std::size_t N>
struct ImportName {
  // Implicit, so that a string literal names the import.
  constexpr ImportName(const char (&name)[N]) { std::copy_n(name, N, text); }
  char text[N];
};

// The function each import led to before it was patched (the C runtime's or KERNEL32's own).
template <ImportName name>
std::atomic<void*> g_next{nullptr};

template <ImportName name, typename Function>
Function Next() {
  return reinterpret_cast<Function>(g_next<name>.load(std::memory_order_acquire));
}

// The host whose faults apply: only plugin code is refused.
sim::Host* PluginHost() {
  sim::Host* host = sim::Host::current();
  return host != nullptr && host->inPluginCall() ? host : nullptr;
}

sim::Host* CountOpen() {
  sim::Host* host = PluginHost();
  if (host != nullptr) host->fileFaults().countOpen();
  return host;
}

// A wide path is judged whole: a name the code page cannot spell is refused as its narrow twin would be.
template <typename Char>
requires std::is_same_v<Char, char> || std::is_same_v<Char, wchar_t>
// Every call that may change the file system asks here first (CreateFile whatever its access), so it is
// counted here.
bool Refused(const Char* path) {
  sim::Host* host = PluginHost();
  if (host != nullptr) host->fileFaults().countChange();
  if (host == nullptr || path == nullptr || *path == 0) return false;
  try {
    return host->fileFaults().isReadOnly(std::filesystem::path(path));
  } catch (...) {
    return false;
  }
}

// A call's other arguments (flags, security attributes) name no file.
template <typename Other>
bool Refused(Other /*argument*/) {
  return false;
}

int FailErrno(int error) {
  errno = error;
  return -1;
}

template <typename Result = BOOL>
Result FailWin32(DWORD error, Result failed = FALSE) {
  SetLastError(error);
  return failed;
}

template <typename Char>
bool ModeWrites(const Char* mode) {
  if (mode == nullptr) return false;
  for (const Char* c = mode; *c != 0; ++c) {
    if (*c == 'w' || *c == 'a' || *c == '+') return true;
  }
  return false;
}

bool FlagsWrite(int flags) {
  return (flags & (_O_WRONLY | _O_RDWR | _O_APPEND | _O_TRUNC | _O_CREAT)) != 0;
}

bool IsDiskFile(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_DISK;
}

bool IsDiskDescriptor(int fd) {
  return fd >= 0 && IsDiskFile(reinterpret_cast<HANDLE>(_get_osfhandle(fd)));
}

// --- streams whose writes were cut short by the full disk (as file_interpose.cpp on POSIX) ---

constinit sim::StreamFailures g_failures;

using FwriteFunction = size_t (*)(const void*, size_t, size_t, FILE*);

// The host whose disk budget applies to a stdio write to STREAM, or null to pass it on unchanged.
sim::Host* BudgetHost(FILE* stream) {
  sim::Host* host = PluginHost();
  const bool limited = host != nullptr && stream != nullptr && host->fileFaults().limited();
  return limited && IsDiskDescriptor(_fileno(stream)) ? host : nullptr;
}

// A stdio write of SIZE bytes: how many bytes to report as written, or -1 to hand the whole write to the C
// runtime (as all of it when the disk is not limited).
long long BudgetedWrite(FILE* stream, const void* data, size_t size) {
  sim::Host* host = BudgetHost(stream);
  if (host == nullptr) return -1;
  return g_failures.budgetedWrite(host->fileFaults(), Next<"fwrite", FwriteFunction>(), stream, data, size);
}

// --- the C runtime ---

template <ImportName name, typename Char>
FILE* __cdecl HookFopen(const Char* path, const Char* mode) {
  auto next = Next<name, FILE* (*)(const Char*, const Char*)>();
  CountOpen();
  if (ModeWrites(mode) && Refused(path)) return errno = EACCES, nullptr;
  return next != nullptr ? next(path, mode) : nullptr;
}

int __cdecl HookFclose(FILE* stream) {
  return g_failures.closeResult(stream, Next<"fclose", int (*)(FILE*)>());
}

int __cdecl HookFflush(FILE* stream) {
  auto next = Next<"fflush", int (*)(FILE*)>();
  return g_failures.flushResult(stream, next != nullptr ? next(stream) : EOF);
}

int __cdecl HookFerror(FILE* stream) {
  auto next = Next<"ferror", int (*)(FILE*)>();
  return g_failures.errorResult(stream, next != nullptr ? next(stream) : 0);
}

size_t __cdecl HookFwrite(const void* data, size_t size, size_t count, FILE* stream) {
  auto next = Next<"fwrite", FwriteFunction>();
  const bool whole = size == 0 || count == 0 || count > SIZE_MAX / size;
  const long long written = whole ? -1 : BudgetedWrite(stream, data, size * count);
  if (written < 0) return next != nullptr ? next(data, size, count, stream) : 0;
  return static_cast<size_t>(written) / size;
}

int __cdecl HookFputs(const char* text, FILE* stream) {
  auto next = Next<"fputs", int (*)(const char*, FILE*)>();
  const size_t size = text != nullptr ? std::strlen(text) : 0;
  const long long written = text != nullptr ? BudgetedWrite(stream, text, size) : -1;
  if (written < 0) return next != nullptr ? next(text, stream) : EOF;
  return written == static_cast<long long>(size) ? 1 : EOF;
}

int PutCharacter(int (*next)(int, FILE*), int character, FILE* stream) {
  const unsigned char byte = static_cast<unsigned char>(character);
  const long long written = BudgetedWrite(stream, &byte, 1);
  if (written < 0) return next != nullptr ? next(character, stream) : EOF;
  return written == 1 ? byte : EOF;
}

int __cdecl HookFputc(int character, FILE* stream) {
  return PutCharacter(Next<"fputc", int (*)(int, FILE*)>(), character, stream);
}

int __cdecl HookPutc(int character, FILE* stream) {
  return PutCharacter(Next<"putc", int (*)(int, FILE*)>(), character, stream);
}

// Formatted output on a limited disk: formatted here, then written as one block.
int PrintTo(FILE* stream, const char* format, va_list arguments) {
  auto next = Next<"vfprintf", int (*)(FILE*, const char*, va_list)>();
  if (BudgetHost(stream) == nullptr || format == nullptr) {
    return next != nullptr ? next(stream, format, arguments) : -1;
  }
  auto write = [&](const char* text, size_t size) { return BudgetedWrite(stream, text, size); };
  return sim::FormattedWrite(stream, format, arguments, write, Next<"fwrite", FwriteFunction>());
}

int __cdecl HookVfprintf(FILE* stream, const char* format, va_list arguments) {
  return PrintTo(stream, format, arguments);
}

int __cdecl HookFprintf(FILE* stream, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int result = PrintTo(stream, format, arguments);
  va_end(arguments);
  return result;
}

// rename, remove, _unlink, _mkdir and their wide forms: every path they name must be writable.
template <ImportName name, typename... Arguments>
int __cdecl HookRuntimeChange(Arguments... arguments) {
  auto next = Next<name, int (*)(Arguments...)>();
  if ((Refused(arguments) || ...)) return FailErrno(EACCES);
  return next != nullptr ? next(arguments...) : FailErrno(ENOSYS);
}

template <ImportName name, typename Char>
int __cdecl HookOpen(const Char* path, int flags, ...) {
  auto next = Next<name, int (*)(const Char*, int, ...)>();
  int mode = 0;
  if ((flags & _O_CREAT) != 0) {
    va_list arguments;
    va_start(arguments, flags);
    mode = va_arg(arguments, int);
    va_end(arguments);
  }
  CountOpen();
  if (FlagsWrite(flags) && Refused(path)) return FailErrno(EACCES);
  if (next == nullptr) return FailErrno(ENOSYS);
  return (flags & _O_CREAT) != 0 ? next(path, flags, mode) : next(path, flags);
}

template <ImportName name>
int __cdecl HookWrite(int fd, const void* data, unsigned int size) {
  auto next = Next<name, int (*)(int, const void*, unsigned int)>();
  if (next == nullptr) return FailErrno(ENOSYS);
  sim::Host* host = PluginHost();
  if (host == nullptr || size == 0 || !host->fileFaults().limited() || !IsDiskDescriptor(fd)) {
    return next(fd, data, size);
  }
  return host->fileFaults().limitedWrite(
      size, [&](std::uint64_t allowed) { return next(fd, data, static_cast<unsigned int>(allowed)); });
}

// --- KERNEL32 ---

// Does opening with ACCESS and DISPOSITION change the file system?
template <typename Char>
bool CreateChanges(const Char* path, DWORD access, DWORD disposition) {
  constexpr DWORD kWriting = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA | DELETE |
                             FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA;
  if ((access & kWriting) != 0) return true;
  if (disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING)
    return true;
  if (disposition != OPEN_ALWAYS) return false;
  if constexpr (sizeof(Char) == 1) {
    return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
  } else {
    return GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES;
  }
}

template <ImportName name, typename Char>
HANDLE WINAPI HookCreateFile(const Char* path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                             DWORD disposition, DWORD flags, HANDLE templateFile) {
  auto next =
      Next<name, HANDLE(WINAPI*)(const Char*, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE)>();
  CountOpen();
  if (Refused(path) && CreateChanges(path, access, disposition)) {
    return FailWin32(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
  }
  if (next == nullptr) return FailWin32(ERROR_CALL_NOT_IMPLEMENTED, INVALID_HANDLE_VALUE);
  return next(path, access, share, security, disposition, flags, templateFile);
}

BOOL WINAPI HookWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  auto next = Next<"WriteFile", BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED)>();
  if (next == nullptr) return FailWin32(ERROR_CALL_NOT_IMPLEMENTED);
  sim::Host* host = PluginHost();
  if (host == nullptr || size == 0 || overlapped != nullptr || !host->fileFaults().limited() ||
      !IsDiskFile(file)) {
    return next(file, data, size, written, overlapped);
  }
  sim::FileFaults& faults = host->fileFaults();
  const std::uint64_t allowed = faults.allowWrite(size);
  DWORD done = 0;
  const BOOL ok = allowed > 0 ? next(file, data, static_cast<DWORD>(allowed), &done, nullptr) : TRUE;
  faults.refund(allowed, done);
  if (written != nullptr) *written = done;
  if (!ok) return FALSE;
  // What did not fit fails as on a full disk, with the part that fitted written.
  return allowed == size ? TRUE : FailWin32(ERROR_DISK_FULL);
}

// MoveFile, MoveFileEx, ReplaceFile, DeleteFile and CreateDirectory: every path they name must be writable.
template <ImportName name, typename... Arguments>
BOOL WINAPI HookKernelChange(Arguments... arguments) {
  auto next = Next<name, BOOL(WINAPI*)(Arguments...)>();
  if ((Refused(arguments) || ...)) return FailWin32(ERROR_ACCESS_DENIED);
  return next != nullptr ? next(arguments...) : FailWin32(ERROR_CALL_NOT_IMPLEMENTED);
}

void Capture(const char* text, std::size_t size) {
  sim::Host* host = PluginHost();
  if (host == nullptr || text == nullptr || size == 0) return;
  try {
    host->debug().append(text, size);
  } catch (...) {  // out of memory: the text is lost, the plugin goes on
  }
}

void WINAPI HookOutputDebugStringA(LPCSTR text) {
  if (text != nullptr) Capture(text, std::strlen(text));
  if (auto next = Next<"OutputDebugStringA", void(WINAPI*)(LPCSTR)>()) next(text);
}

void WINAPI HookOutputDebugStringW(LPCWSTR text) {
  if (text != nullptr && PluginHost() != nullptr) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size > 1) {
      std::string utf8(static_cast<std::size_t>(size), '\0');
      WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
      Capture(utf8.data(), static_cast<std::size_t>(size - 1));
    }
  }
  if (auto next = Next<"OutputDebugStringW", void(WINAPI*)(LPCWSTR)>()) next(text);
}

enum class From { Runtime, Kernel };

struct Hook {
  From from;
  const char* name;
  void* replacement;
  std::atomic<void*>* next;
};

template <ImportName name, typename Function>
Hook Runtime(Function replacement) {
  return {From::Runtime, name.text, reinterpret_cast<void*>(replacement), &g_next<name>};
}

template <ImportName name, typename Function>
Hook Kernel(Function replacement) {
  return {From::Kernel, name.text, reinterpret_cast<void*>(replacement), &g_next<name>};
}

std::span<const Hook> Hooks() {
  static const Hook hooks[] = {
      Runtime<"fopen">(&HookFopen<"fopen", char>),
      Runtime<"_wfopen">(&HookFopen<"_wfopen", wchar_t>),
      Runtime<"fclose">(&HookFclose),
      Runtime<"fflush">(&HookFflush),
      Runtime<"ferror">(&HookFerror),
      Runtime<"fwrite">(&HookFwrite),
      Runtime<"fputs">(&HookFputs),
      Runtime<"fputc">(&HookFputc),
      Runtime<"putc">(&HookPutc),
      Runtime<"vfprintf">(&HookVfprintf),
      Runtime<"fprintf">(&HookFprintf),
      Runtime<"rename">(&HookRuntimeChange<"rename", const char*, const char*>),
      Runtime<"_wrename">(&HookRuntimeChange<"_wrename", const wchar_t*, const wchar_t*>),
      Runtime<"remove">(&HookRuntimeChange<"remove", const char*>),
      Runtime<"_wremove">(&HookRuntimeChange<"_wremove", const wchar_t*>),
      Runtime<"_unlink">(&HookRuntimeChange<"_unlink", const char*>),
      Runtime<"unlink">(&HookRuntimeChange<"unlink", const char*>),
      Runtime<"_wunlink">(&HookRuntimeChange<"_wunlink", const wchar_t*>),
      Runtime<"_open">(&HookOpen<"_open", char>),
      Runtime<"open">(&HookOpen<"open", char>),
      Runtime<"_wopen">(&HookOpen<"_wopen", wchar_t>),
      Runtime<"_write">(&HookWrite<"_write">),
      Runtime<"write">(&HookWrite<"write">),
      Runtime<"_mkdir">(&HookRuntimeChange<"_mkdir", const char*>),
      Runtime<"mkdir">(&HookRuntimeChange<"mkdir", const char*>),
      Runtime<"_wmkdir">(&HookRuntimeChange<"_wmkdir", const wchar_t*>),
      Kernel<"CreateFileA">(&HookCreateFile<"CreateFileA", char>),
      Kernel<"CreateFileW">(&HookCreateFile<"CreateFileW", wchar_t>),
      Kernel<"WriteFile">(&HookWriteFile),
      Kernel<"MoveFileA">(&HookKernelChange<"MoveFileA", LPCSTR, LPCSTR>),
      Kernel<"MoveFileW">(&HookKernelChange<"MoveFileW", LPCWSTR, LPCWSTR>),
      Kernel<"MoveFileExA">(&HookKernelChange<"MoveFileExA", LPCSTR, LPCSTR, DWORD>),
      Kernel<"MoveFileExW">(&HookKernelChange<"MoveFileExW", LPCWSTR, LPCWSTR, DWORD>),
      Kernel<"ReplaceFileA">(
          &HookKernelChange<"ReplaceFileA", LPCSTR, LPCSTR, LPCSTR, DWORD, LPVOID, LPVOID>),
      Kernel<"ReplaceFileW">(
          &HookKernelChange<"ReplaceFileW", LPCWSTR, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID>),
      Kernel<"DeleteFileA">(&HookKernelChange<"DeleteFileA", LPCSTR>),
      Kernel<"DeleteFileW">(&HookKernelChange<"DeleteFileW", LPCWSTR>),
      Kernel<"CreateDirectoryA">(&HookKernelChange<"CreateDirectoryA", LPCSTR, LPSECURITY_ATTRIBUTES>),
      Kernel<"CreateDirectoryW">(&HookKernelChange<"CreateDirectoryW", LPCWSTR, LPSECURITY_ATTRIBUTES>),
      Kernel<"OutputDebugStringA">(&HookOutputDebugStringA),
      Kernel<"OutputDebugStringW">(&HookOutputDebugStringW),
  };
  return hooks;
}

bool StartsWith(const char* text, const char* prefix) {
  return _strnicmp(text, prefix, std::strlen(prefix)) == 0;
}

// Which family of hooks a DLL the plugin imports from belongs to.
bool Serves(const char* dll, From from) {
  if (from == From::Runtime) {
    return StartsWith(dll, "msvcr") || StartsWith(dll, "ucrtbase") || StartsWith(dll, "api-ms-win-crt-");
  }
  return StartsWith(dll, "kernel32") || StartsWith(dll, "kernelbase") || StartsWith(dll, "api-ms-win-core-");
}

// The functions a hook passes on to when the plugin did not import them itself (a budgeted fputs writes
// through fwrite): the C runtime's and KERNEL32's own.
void ResolveDefaults() {
  const HMODULE runtime = GetModuleHandleA("msvcrt.dll");
  const HMODULE kernel = GetModuleHandleA("kernel32.dll");
  for (const Hook& hook : Hooks()) {
    if (hook.next->load() != nullptr) continue;
    const HMODULE from = hook.from == From::Runtime ? runtime : kernel;
    if (from != nullptr) hook.next->store(reinterpret_cast<void*>(GetProcAddress(from, hook.name)));
  }
}

}  // namespace

namespace sim::platform {

// Points the plugin's imports of the hooked functions here. Returns how many imports were redirected.
int HookFileFunctions(void* module) {
  if (module == nullptr) return 0;
  auto* base = static_cast<unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return 0;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return 0;
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0 || imports.Size == 0) return 0;
  const std::span<const Hook> hooks = Hooks();
  int patched = 0;
  for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       entry->Name != 0; ++entry) {
    const char* dll = reinterpret_cast<const char*>(base + entry->Name);
    const bool runtime = Serves(dll, From::Runtime);
    if (!runtime && !Serves(dll, From::Kernel)) continue;
    // The names stay in the lookup table; the address table holds what the loader bound.
    const DWORD lookup = entry->OriginalFirstThunk != 0 ? entry->OriginalFirstThunk : entry->FirstThunk;
    const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + lookup);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      const char* name = reinterpret_cast<const char*>(byName->Name);
      for (const Hook& hook : hooks) {
        if ((hook.from == From::Runtime) != runtime || std::strcmp(hook.name, name) != 0) continue;
        void* bound = reinterpret_cast<void*>(slots->u1.Function);
        if (bound == hook.replacement) break;  // patched before (the same module loaded again)
        hook.next->store(bound, std::memory_order_release);
        DWORD old = 0;
        if (VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old)) {
          slots->u1.Function = reinterpret_cast<ULONGLONG>(hook.replacement);
          VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
          ++patched;
        }
        break;
      }
    }
  }
  ResolveDefaults();
  return patched;
}

}  // namespace sim::platform
