// The C library's file functions as the plugin sees them: read-only folders, a full disk, kill points and
// the debugger output (standard error) captured into the host.
//
// Programs that host a plugin link this file and export its symbols, so a plugin library loaded later
// binds its calls to these definitions before the C library's; each passes on to the next definition
// (the sanitizer's interceptor or the C library) found with dlsym(RTLD_NEXT). Faults apply only while
// plugin code runs; everything else passes straight through, the host's own files included.
//
// Calls made inside the C library (printf to stdout, stdio's own buffer flushes) do not come through here,
// which is why stdio writes are accounted when the plugin hands the bytes over, not when they reach the
// disk.
#undef _FORTIFY_SOURCE  // the wrappers it adds would clash with the definitions below

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "file_faults.h"
#include "host.h"
#include "stream_failures.h"

namespace {

// Set while this file's own code runs, so that anything it calls passes straight through.
thread_local int t_busy = 0;

struct Busy {
  Busy() { ++t_busy; }
  ~Busy() { --t_busy; }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;
};

// The next definition of NAME; null while it is being looked up on this thread (dlsym may itself call a
// function defined here) or when there is none.
void* Resolve(std::atomic<void*>& slot, const char* name) {
  void* function = slot.load(std::memory_order_acquire);
  if (function != nullptr || t_busy > 0) return function;
  Busy busy;
  function = dlsym(RTLD_NEXT, name);
  slot.store(function, std::memory_order_release);
  return function;
}

#define TALVENOR_NEXT(name, type)                        \
  auto Next_##name()->type {                             \
    static std::atomic<void*> slot{nullptr};             \
    return reinterpret_cast<type>(Resolve(slot, #name)); \
  }

TALVENOR_NEXT(fopen, FILE* (*)(const char*, const char*))
TALVENOR_NEXT(fopen64, FILE* (*)(const char*, const char*))
TALVENOR_NEXT(freopen, FILE* (*)(const char*, const char*, FILE*))
TALVENOR_NEXT(fclose, int (*)(FILE*))
TALVENOR_NEXT(fwrite, size_t (*)(const void*, size_t, size_t, FILE*))
TALVENOR_NEXT(fputs, int (*)(const char*, FILE*))
TALVENOR_NEXT(fputc, int (*)(int, FILE*))
TALVENOR_NEXT(putc, int (*)(int, FILE*))
TALVENOR_NEXT(vfprintf, int (*)(FILE*, const char*, va_list))
TALVENOR_NEXT(__vfprintf_chk, int (*)(FILE*, int, const char*, va_list))
TALVENOR_NEXT(fflush, int (*)(FILE*))
TALVENOR_NEXT(ferror, int (*)(FILE*))
TALVENOR_NEXT(rename, int (*)(const char*, const char*))
TALVENOR_NEXT(renameat, int (*)(int, const char*, int, const char*))
TALVENOR_NEXT(remove, int (*)(const char*))
TALVENOR_NEXT(unlink, int (*)(const char*))
TALVENOR_NEXT(unlinkat, int (*)(int, const char*, int))
TALVENOR_NEXT(rmdir, int (*)(const char*))
TALVENOR_NEXT(open, int (*)(const char*, int, ...))
TALVENOR_NEXT(open64, int (*)(const char*, int, ...))
TALVENOR_NEXT(openat, int (*)(int, const char*, int, ...))
TALVENOR_NEXT(openat64, int (*)(int, const char*, int, ...))
TALVENOR_NEXT(creat, int (*)(const char*, mode_t))
TALVENOR_NEXT(creat64, int (*)(const char*, mode_t))
TALVENOR_NEXT(write, ssize_t (*)(int, const void*, size_t))
TALVENOR_NEXT(mkdir, int (*)(const char*, mode_t))
TALVENOR_NEXT(mkdirat, int (*)(int, const char*, mode_t))

#undef TALVENOR_NEXT

// The host whose faults apply to the call in progress: only plugin code is refused.
sim::Host* PluginHost() {
  if (t_busy > 0) return nullptr;
  sim::Host* host = sim::Host::current();
  return host != nullptr && host->inPluginCall() ? host : nullptr;
}

int Fail(int error) {
  errno = error;
  return -1;
}

void Capture(sim::Host& host, const void* data, size_t size) {
  if (data == nullptr || size == 0) return;
  Busy busy;
  try {
    host.debug().append(static_cast<const char*>(data), size);
  } catch (...) {  // out of memory: the text is lost, the plugin goes on
  }
}

// The file an open descriptor refers to ("" when it cannot be told).
std::string DescriptorPath(int fd) {
  char link[48];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  std::array<char, PATH_MAX> target{};
  const ssize_t length = readlink(link, target.data(), target.size() - 1);
  return length > 0 ? std::string(target.data(), static_cast<size_t>(length)) : std::string();
}

// PATH as the faults compare it: a relative one is taken from DIRFD's folder or the working folder.
std::string PathAt(int dirfd, const char* path) {
  if (path[0] == '/' || dirfd == AT_FDCWD) return path;
  const std::string folder = DescriptorPath(dirfd);
  return folder.empty() ? std::string() : folder + "/" + path;
}

// Every call that may change the file system asks here first, so it is counted here.
bool Refused(sim::Host& host, int dirfd, const char* path) {
  host.fileFaults().countChange();
  Busy busy;
  host.fileFaults().endServing();
  if (path == nullptr || *path == '\0') return false;
  try {
    const std::string full = PathAt(dirfd, path);
    return !full.empty() && host.fileFaults().isReadOnly(full);
  } catch (...) {
    return false;
  }
}

// --- kill points ---

// The bytes a stream holds that have not reached its file yet.
std::string_view Pending(FILE* stream) {
#ifdef __GLIBC__
  if (stream->_IO_write_ptr > stream->_IO_write_base) {
    return {stream->_IO_write_base, static_cast<size_t>(stream->_IO_write_ptr - stream->_IO_write_base)};
  }
#endif
  return {};
}

// When the call in progress on FILE, of UNITS units of work, is the armed kill point: WORK does as many of
// them as the point says, then the process dies.
template <typename Work>
void KillPoint(sim::Host* host, const std::string& file, std::uint64_t units, Work work) {
  std::optional<std::uint64_t> done;
  try {
    done = host->fileFaults().countKillPoint(file, units);
  } catch (...) {  // a path the library cannot take is no file of the watched folder
  }
  if (!done) return;
  work(*done);
  std::raise(SIGKILL);
}

bool Watching(sim::Host* host) {
  return host != nullptr && host->fileFaults().watchingKillPoints();
}

void WriteAll(ssize_t (*next)(int, const void*, size_t), int fd, const char* data, size_t size) {
  while (next != nullptr && size > 0) {
    const ssize_t written = next(fd, data, size);
    if (written <= 0) return;
    data += written;
    size -= static_cast<size_t>(written);
  }
}

// A stream's call that writes its pending bytes and then SIZE bytes of DATA (a flush or close: none); at
// the kill point a prefix of them reaches the file.
void StreamKillPoint(sim::Host* host, FILE* stream, const void* data, size_t size) {
  if (!Watching(host) || stream == nullptr) return;
  auto write = Next_write();  // looked up first: a lookup while busy gives nothing
  Busy busy;
  const int fd = fileno(stream);
  const std::string_view pending = Pending(stream);
  KillPoint(host, DescriptorPath(fd), pending.size() + size, [&](std::uint64_t done) {
    const size_t first = std::min(pending.size(), static_cast<size_t>(done));
    WriteAll(write, fd, pending.data(), first);
    WriteAll(write, fd, static_cast<const char*>(data), static_cast<size_t>(done) - first);
  });
}

void RenameKillPoint(sim::Host* host, int fromDir, const char* from, int toDir, const char* to) {
  if (!Watching(host) || from == nullptr || to == nullptr) return;
  auto rename = Next_renameat();
  Busy busy;
  KillPoint(host, PathAt(toDir, to), 1, [&](std::uint64_t done) {
    if (done == 1 && rename != nullptr) (void)rename(fromDir, from, toDir, to);
  });
}

bool ModeWrites(const char* mode) {
  return mode != nullptr && (std::strchr(mode, 'w') != nullptr || std::strchr(mode, 'a') != nullptr ||
                             std::strchr(mode, '+') != nullptr);
}

// Does opening with FLAGS change the file system? O_CREAT alone creates only a file that is missing.
bool FlagsWrite(int dirfd, const char* path, int flags) {
  if ((flags & O_ACCMODE) != O_RDONLY || (flags & O_TRUNC) != 0) return true;
#ifdef O_TMPFILE
  if ((flags & O_TMPFILE) == O_TMPFILE) return true;
#endif
  return (flags & O_CREAT) != 0 && path != nullptr && faccessat(dirfd, path, F_OK, 0) != 0;
}

bool NeedsMode(int flags) {
#ifdef O_TMPFILE
  if ((flags & O_TMPFILE) == O_TMPFILE) return true;
#endif
  return (flags & O_CREAT) != 0;
}

bool IsRegularFile(int fd) {
  struct stat status {};
  return fd >= 0 && fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Streams whose writes were cut short by the full disk.
constinit sim::StreamFailures g_failures;

// What a stdio write by the running code needs: nothing, the debugger output, or the disk budget.
enum class Route { Next, Debug, Budget };

Route RouteOf(sim::Host* host, FILE* stream) {
  if (host == nullptr || stream == nullptr) return Route::Next;
  if (stream == stderr) return Route::Debug;
  Busy busy;
  if (host->fileFaults().limited() && IsRegularFile(fileno(stream))) return Route::Budget;
  return Route::Next;
}

// Routes SIZE bytes of a stdio write; -1: let the C library write them (as it does all on Route::Next).
long long RoutedWrite(Route route, sim::Host* host, FILE* stream, const void* data, size_t size) {
  switch (route) {
    case Route::Debug:
      Capture(*host, data, size);
      return static_cast<long long>(size);
    case Route::Budget:
      return g_failures.budgetedWrite(host->fileFaults(), Next_fwrite(), stream, data, size);
    case Route::Next:
      break;
  }
  return -1;
}

// The plugin's attempts to open a file, for tests that check it opens none.
sim::Host* CountOpen() {
  sim::Host* host = PluginHost();
  if (host != nullptr) host->fileFaults().countOpen();
  return host;
}

// --- served files ---

#ifdef __GLIBC__
// A served file's stream: the bytes it reads, where it is in them, and its buffer (stdio would allocate one
// of 8 KB for a stream without a descriptor, an unbuffered one would read byte by byte).
struct ServedStream {
  std::shared_ptr<const std::string> bytes;
  size_t at = 0;
  char buffer[512];
};

ssize_t ReadServed(void* cookie, char* out, size_t size) {
  ServedStream& stream = *static_cast<ServedStream*>(cookie);
  const size_t count =
      stream.at < stream.bytes->size() ? std::min(size, stream.bytes->size() - stream.at) : 0;
  std::memcpy(out, stream.bytes->data() + stream.at, count);
  stream.at += count;
  return static_cast<ssize_t>(count);
}

int SeekServed(void* cookie, off64_t* offset, int whence) {
  ServedStream& stream = *static_cast<ServedStream*>(cookie);
  const off64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<off64_t>(stream.at)
                                            : static_cast<off64_t>(stream.bytes->size());
  if (whence < SEEK_SET || whence > SEEK_END || *offset < -base) return Fail(EINVAL);
  stream.at = static_cast<size_t>(base + *offset);
  *offset = base + *offset;
  return 0;
}

int CloseServed(void* cookie) {
  delete static_cast<ServedStream*>(cookie);
  return 0;
}

FILE* OpenServed(std::shared_ptr<const std::string> bytes) {
  if (bytes == nullptr) return errno = ENOENT, nullptr;
  auto* stream = new (std::nothrow) ServedStream{std::move(bytes), 0, {}};
  if (stream == nullptr) return errno = ENOMEM, nullptr;
  FILE* file = fopencookie(stream, "r", {&ReadServed, nullptr, &SeekServed, &CloseServed});
  if (file == nullptr) {
    delete stream;
    return nullptr;
  }
  (void)setvbuf(file, stream->buffer, _IOFBF, sizeof stream->buffer);
  return file;
}

[[maybe_unused]] const bool g_servesReads = (sim::FileFaults::interposeReads(), true);
#endif

// Any way to the disk but the stdio reads of a served file ends the serving.
void EndServing(sim::Host* host) {
  if (host == nullptr) return;
  Busy busy;
  host->fileFaults().endServing();
}

FILE* OpenStream(FILE* (*next)(const char*, const char*), const char* path, const char* mode) {
  if (next == nullptr) return errno = ENOSYS, nullptr;
  sim::Host* host = CountOpen();
#ifdef __GLIBC__
  if (host != nullptr && !ModeWrites(mode)) {
    Busy busy;
    if (auto bytes = host->fileFaults().served(path)) return OpenServed(std::move(*bytes));
  }
#endif
  if (host != nullptr && ModeWrites(mode) && Refused(*host, AT_FDCWD, path)) return errno = EROFS, nullptr;
  return next(path, mode);
}

// open and openat (and their 64-bit forms) of PATH relative to DIRFD; AT is what NEXT takes before the path
// (the folder's descriptor for openat).
template <typename Next, typename... At>
int OpenFile(Next next, int dirfd, const char* path, int flags, mode_t mode, At... at) {
  if (next == nullptr) return Fail(ENOSYS);
  sim::Host* host = CountOpen();
  EndServing(host);
  if (host != nullptr && FlagsWrite(dirfd, path, flags) && Refused(*host, dirfd, path)) return Fail(EROFS);
  return NeedsMode(flags) ? next(at..., path, flags, mode) : next(at..., path, flags);
}

// Refuses a change of PATH (relative to DIRFD) under a read-only folder.
bool RefusedChange(int dirfd, const char* path) {
  sim::Host* host = PluginHost();
  return host != nullptr && Refused(*host, dirfd, path);
}

int Create(int (*next)(const char*, mode_t), const char* path, mode_t mode) {
  if (next == nullptr) return Fail(ENOSYS);
  CountOpen();
  return RefusedChange(AT_FDCWD, path) ? Fail(EROFS) : next(path, mode);
}

// remove, unlink, rmdir, mkdir and their *at forms: PATH (relative to DIRFD) must be writable for NEXT to be
// called with ARGUMENTS.
template <typename... Arguments>
int Change(int (*next)(Arguments...), int dirfd, const char* path, Arguments... arguments) {
  if (next == nullptr) return Fail(ENOSYS);
  return RefusedChange(dirfd, path) ? Fail(EROFS) : next(arguments...);
}

mode_t ModeArgument(int flags, va_list arguments) {
  return NeedsMode(flags) ? static_cast<mode_t>(va_arg(arguments, unsigned int)) : 0;
}

}  // namespace

extern "C" {

FILE* fopen(const char* path, const char* mode) {
  return OpenStream(Next_fopen(), path, mode);
}

FILE* fopen64(const char* path, const char* mode) {
  return OpenStream(Next_fopen64(), path, mode);
}

FILE* freopen(const char* path, const char* mode, FILE* stream) {
  auto next = Next_freopen();
  if (next == nullptr) return errno = ENOSYS, nullptr;
  g_failures.failureOf(stream, false, true);
  sim::Host* host = CountOpen();
  EndServing(host);
  if (host != nullptr && path != nullptr && ModeWrites(mode) && Refused(*host, AT_FDCWD, path)) {
    // freopen closes the stream whether or not the new file opens.
    if (auto close = Next_fclose(); close != nullptr) close(stream);
    errno = EROFS;
    return nullptr;
  }
  return next(path, mode, stream);
}

int fclose(FILE* stream) {
  auto next = Next_fclose();
  if (next == nullptr) return errno = ENOSYS, EOF;
  StreamKillPoint(PluginHost(), stream, nullptr, 0);
  return g_failures.closeResult(stream, next);
}

int fflush(FILE* stream) {
  auto next = Next_fflush();
  if (next == nullptr) return errno = ENOSYS, EOF;
  StreamKillPoint(PluginHost(), stream, nullptr, 0);
  return g_failures.flushResult(stream, next(stream));
}

int ferror(FILE* stream) noexcept {
  auto next = Next_ferror();
  return g_failures.errorResult(stream, next != nullptr ? next(stream) : 0);
}

size_t fwrite(const void* data, size_t size, size_t count, FILE* stream) {
  auto next = Next_fwrite();
  if (next == nullptr) return errno = ENOSYS, 0;
  sim::Host* host = PluginHost();
  if (count <= SIZE_MAX / (size == 0 ? 1 : size)) StreamKillPoint(host, stream, data, size * count);
  if (size == 0 || count == 0 || count > SIZE_MAX / size) return next(data, size, count, stream);
  const long long written = RoutedWrite(RouteOf(host, stream), host, stream, data, size * count);
  if (written < 0) return next(data, size, count, stream);
  return static_cast<size_t>(written) / size;
}

int fputs(const char* text, FILE* stream) {
  auto next = Next_fputs();
  if (next == nullptr) return errno = ENOSYS, EOF;
  sim::Host* host = PluginHost();
  const size_t size = std::strlen(text);
  StreamKillPoint(host, stream, text, size);
  const long long written = RoutedWrite(RouteOf(host, stream), host, stream, text, size);
  if (written < 0) return next(text, stream);
  return written == static_cast<long long>(size) ? 1 : EOF;
}

namespace {

int PutCharacter(int (*next)(int, FILE*), int character, FILE* stream) {
  if (next == nullptr) return errno = ENOSYS, EOF;
  sim::Host* host = PluginHost();
  const unsigned char byte = static_cast<unsigned char>(character);
  StreamKillPoint(host, stream, &byte, 1);
  const long long written = RoutedWrite(RouteOf(host, stream), host, stream, &byte, 1);
  if (written < 0) return next(character, stream);
  return written == 1 ? byte : EOF;
}

[[gnu::format(printf, 2, 0)]] int PrintTo(FILE* stream, const char* format, va_list arguments,
                                          int (*next)(FILE*, const char*, va_list)) {
  sim::Host* host = PluginHost();
  StreamKillPoint(host, stream, nullptr, 0);
  const Route route = RouteOf(host, stream);
  if (route != Route::Next && format != nullptr) {
    auto write = [&](const char* text, size_t size) { return RoutedWrite(route, host, stream, text, size); };
    return sim::FormattedWrite(stream, format, arguments, write, Next_fwrite());
  }
  return next != nullptr ? next(stream, format, arguments) : Fail(ENOSYS);
}

}  // namespace

int fputc(int character, FILE* stream) {
  return PutCharacter(Next_fputc(), character, stream);
}

int putc(int character, FILE* stream) {
  return PutCharacter(Next_putc(), character, stream);
}

int vfprintf(FILE* stream, const char* format, va_list arguments) {
  return PrintTo(stream, format, arguments, Next_vfprintf());
}

int fprintf(FILE* stream, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int result = PrintTo(stream, format, arguments, Next_vfprintf());
  va_end(arguments);
  return result;
}

// The fortified forms, for plugins built with _FORTIFY_SOURCE; the check flag only matters to the C
// library's own formatting, which the routed paths replace.
[[gnu::format(printf, 3, 0)]] int __vfprintf_chk(FILE* stream, int flag, const char* format,
                                                 va_list arguments) {
  auto next = Next___vfprintf_chk();
  sim::Host* host = PluginHost();
  if (RouteOf(host, stream) == Route::Next) {
    StreamKillPoint(host, stream, nullptr, 0);
    return next != nullptr ? next(stream, flag, format, arguments) : Fail(ENOSYS);
  }
  return PrintTo(stream, format, arguments, Next_vfprintf());
}

[[gnu::format(printf, 3, 4)]] int __fprintf_chk(FILE* stream, int flag, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int result = __vfprintf_chk(stream, flag, format, arguments);
  va_end(arguments);
  return result;
}

ssize_t write(int fd, const void* data, size_t size) {
  auto next = Next_write();
  if (next == nullptr) return Fail(ENOSYS);
  sim::Host* host = PluginHost();
  if (host == nullptr) return next(fd, data, size);
  if (Watching(host)) {
    Busy busy;
    KillPoint(host, DescriptorPath(fd), size, [&](std::uint64_t done) {
      WriteAll(next, fd, static_cast<const char*>(data), static_cast<size_t>(done));
    });
  }
  if (fd == STDERR_FILENO) {
    Capture(*host, data, size);
    return static_cast<ssize_t>(size);
  }
  sim::FileFaults& faults = host->fileFaults();
  if (size == 0 || !faults.limited() || !IsRegularFile(fd)) return next(fd, data, size);
  return faults.limitedWrite(size, [&](std::uint64_t allowed) { return next(fd, data, allowed); });
}

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  return OpenFile(Next_open(), AT_FDCWD, path, flags, mode);
}

int open64(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  return OpenFile(Next_open64(), AT_FDCWD, path, flags, mode);
}

int openat(int dirfd, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  return OpenFile(Next_openat(), dirfd, path, flags, mode, dirfd);
}

int openat64(int dirfd, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  return OpenFile(Next_openat64(), dirfd, path, flags, mode, dirfd);
}

int creat(const char* path, mode_t mode) {
  return Create(Next_creat(), path, mode);
}

int creat64(const char* path, mode_t mode) {
  return Create(Next_creat64(), path, mode);
}

int rename(const char* from, const char* to) noexcept {
  auto next = Next_rename();
  if (next == nullptr) return Fail(ENOSYS);
  if (RefusedChange(AT_FDCWD, from) || RefusedChange(AT_FDCWD, to)) return Fail(EROFS);
  RenameKillPoint(PluginHost(), AT_FDCWD, from, AT_FDCWD, to);
  return next(from, to);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) noexcept {
  auto next = Next_renameat();
  if (next == nullptr) return Fail(ENOSYS);
  if (RefusedChange(fromDir, from) || RefusedChange(toDir, to)) return Fail(EROFS);
  RenameKillPoint(PluginHost(), fromDir, from, toDir, to);
  return next(fromDir, from, toDir, to);
}

int remove(const char* path) noexcept {
  return Change(Next_remove(), AT_FDCWD, path, path);
}

int unlink(const char* path) noexcept {
  return Change(Next_unlink(), AT_FDCWD, path, path);
}

int unlinkat(int dirfd, const char* path, int flags) noexcept {
  return Change(Next_unlinkat(), dirfd, path, dirfd, path, flags);
}

int rmdir(const char* path) noexcept {
  return Change(Next_rmdir(), AT_FDCWD, path, path);
}

int mkdir(const char* path, mode_t mode) noexcept {
  return Change(Next_mkdir(), AT_FDCWD, path, path, mode);
}

int mkdirat(int dirfd, const char* path, mode_t mode) noexcept {
  return Change(Next_mkdirat(), dirfd, path, dirfd, path, mode);
}

}  // extern "C"
