#include "file_faults.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <mutex>
#include <system_error>

#include "host.h"

namespace fs = std::filesystem;

namespace sim {
namespace {

// Is PATH the folder PREFIX or below it? Both normalised, so a string prefix ending at a separator is a
// component-wise prefix.
bool IsAtOrBelow(const std::string& path, const std::string& prefix) {
  if (path.size() < prefix.size() || path.compare(0, prefix.size(), prefix) != 0) return false;
  return path.size() == prefix.size() || prefix.back() == '/' || path[prefix.size()] == '/';
}

// What the longest of ENTRIES at or above PATH says; nothing is read-only outside them.
bool ReadOnlyUnder(const std::map<std::string, bool>& entries, const std::string& path) {
  bool readOnly = false;
  std::size_t longest = 0;
  for (const auto& [prefix, flag] : entries) {
    if (IsAtOrBelow(path, prefix) && prefix.size() >= longest) {
      longest = prefix.size();
      readOnly = flag;
    }
  }
  return readOnly;
}

// The absolute, lexically normal form the comparisons use ("" when PATH cannot be made absolute).
std::string Normalise(const fs::path& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(path, ec);
  if (ec) return {};
  // UTF-8, so that a name no code page can spell still compares (and a wide call is judged as a narrow one).
  const std::u8string generic = absolute.lexically_normal().generic_u8string();
  std::string text(generic.begin(), generic.end());
  while (text.size() > 1 && text.back() == '/') text.pop_back();
#ifdef _WIN32
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
#endif
  return text;
}

std::atomic<bool> g_readsInterposed{false};

void WriteOnDisk(const fs::path& path, std::optional<std::string_view> bytes) {
  std::error_code error;
  if (!bytes) {
    fs::remove(path, error);
    return;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
}

}  // namespace

FileFaults::FileFaults(Host& host) : host_(host) {}
FileFaults::~FileFaults() = default;

std::string FileFaults::resolve(const fs::path& path) const {
  // A path already resolved is taken as it is.
  return Normalise(path.is_absolute() ? path : host_.resolve(path.generic_string()));
}

void FileFaults::setReadOnly(const fs::path& path, bool readOnly) {
  const std::string folder = resolve(path);
  if (folder.empty()) return;
  std::lock_guard lock(mutex_);
  std::erase_if(entries_, [&](const auto& entry) { return IsAtOrBelow(entry.first, folder); });
  // Only an opening inside a read-only folder needs an entry of its own.
  if (readOnly != ReadOnlyUnder(entries_, folder)) entries_[folder] = readOnly;
}

bool FileFaults::isReadOnly(const fs::path& path) const {
  if (path.empty()) return false;
  std::lock_guard lock(mutex_);
  if (entries_.empty()) return false;
  const std::string file = Normalise(path);
  return !file.empty() && ReadOnlyUnder(entries_, file);
}

void FileFaults::setDiskFull(std::optional<std::uint64_t> bytes) {
  std::lock_guard lock(mutex_);
  budget_ = bytes;
}

std::uint64_t FileFaults::allowWrite(std::uint64_t size) {
  std::lock_guard lock(mutex_);
  if (!budget_) return size;
  const std::uint64_t allowed = std::min(size, *budget_);
  *budget_ -= allowed;
  return allowed;
}

void FileFaults::refund(std::uint64_t granted, long long used) {
  const std::uint64_t unused =
      used <= 0 ? granted : granted - std::min(granted, static_cast<std::uint64_t>(used));
  std::lock_guard lock(mutex_);
  if (budget_) *budget_ += unused;
}

bool FileFaults::diskFull() const {
  std::lock_guard lock(mutex_);
  return budget_ && *budget_ == 0;
}

bool FileFaults::limited() const {
  std::lock_guard lock(mutex_);
  return budget_.has_value();
}

void FileFaults::watchKillPoints(const fs::path& folder, std::optional<KillPoint> point) {
  const std::string normal = folder.empty() ? std::string() : resolve(folder);
  std::lock_guard lock(mutex_);
  killFolder_ = normal;
  killPoint_ = point;
  killPoints_ = 0;
  watching_.store(!normal.empty(), std::memory_order_relaxed);
}

std::uint64_t FileFaults::killPoints() const {
  std::lock_guard lock(mutex_);
  return killPoints_;
}

std::optional<std::uint64_t> FileFaults::countKillPoint(const fs::path& path, std::uint64_t units) {
  if (!watchingKillPoints() || path.empty()) return std::nullopt;
  const std::string file = Normalise(path);
  std::lock_guard lock(mutex_);
  if (killFolder_.empty() || file.empty() || !IsAtOrBelow(file, killFolder_)) return std::nullopt;
  if (++killPoints_ != (killPoint_ ? killPoint_->call : 0)) return std::nullopt;
  // Each of the UNITS + 1 outcomes, from none of the work to all of it, is as likely as the others.
  const double reached = std::clamp(killPoint_->reached, 0.0, 1.0);
  return std::min(units, static_cast<std::uint64_t>(std::floor(reached * static_cast<double>(units + 1))));
}

void FileFaults::interposeReads() {
  g_readsInterposed.store(true, std::memory_order_relaxed);
}

void FileFaults::serve(const fs::path& path, const std::string_view* bytes) {
#ifndef _WIN32  // the interposer, which serves the reads, is POSIX's
  if (g_readsInterposed.load(std::memory_order_relaxed)) {
    std::lock_guard lock(mutex_);
    auto file = served_.find(std::string_view(path.native()));
    if (file == served_.end()) {
      file =
          served_.try_emplace(path.native(), Served{Normalise(path), std::make_shared<std::string>()}).first;
      std::error_code error;
      fs::remove(path, error);
    }
    file->second.exists = bytes != nullptr;
    file->second.bytes->assign(bytes != nullptr ? *bytes : std::string_view());
    serving_.store(true, std::memory_order_relaxed);
    return;
  }
#endif
  WriteOnDisk(path, bytes != nullptr ? std::optional(*bytes) : std::nullopt);
}

std::optional<std::shared_ptr<const std::string>> FileFaults::served(const char* path) const {
  if (!serving_.load(std::memory_order_relaxed) || path == nullptr) return std::nullopt;
  std::lock_guard lock(mutex_);
  const auto bytes = [](const Served& file) { return file.exists ? file.bytes : nullptr; };
  if (const auto file = served_.find(std::string_view(path)); file != served_.end())
    return bytes(file->second);
  const std::string normal = Normalise(path);
  for (const auto& [given, file] : served_) {
    if (!normal.empty() && file.normal == normal) return bytes(file);
  }
  return std::nullopt;
}

void FileFaults::endServing() {
  if (!serving_.load(std::memory_order_relaxed)) return;
  std::map<std::string, Served, std::less<>> files;
  {
    std::lock_guard lock(mutex_);
    files.swap(served_);
    serving_.store(false, std::memory_order_relaxed);
  }
  for (const auto& [path, file] : files) {
    WriteOnDisk(path, file.exists ? std::optional<std::string_view>(*file.bytes) : std::nullopt);
  }
}

}  // namespace sim
