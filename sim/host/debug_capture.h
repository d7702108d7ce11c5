// What the plugin writes to its debugger output while plugin code runs: on POSIX standard error, on Windows
// OutputDebugString (file_interpose.cpp and file_hooks_win32.cpp route it here).
#pragma once

#include <cstddef>
#include <string>

namespace sim {

class DebugCapture {
 public:
  void append(const char* data, std::size_t size) { text_.append(data, size); }
  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }

 private:
  std::string text_;
};

}  // namespace sim
