// The line-level reading of the setup files: a line at a time with its line end, blanks removed, upper case.
// Nothing here knows a section or a key, so any plugin of the package that reads a setup file shares it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>

namespace talvenor {

// The longest line, section, key or value kept, terminator included.
inline constexpr int kSetupTextSize = 256;

enum class SetupLineRead { kLine, kEnd, kError };

// Reads one line into buffer (size >= 2), its line end included: a CR LF or LF CR pair counts as one line end
// and is stored as its first character. A longer line is cut and its rest read as the next line. A read error
// loses the partly read line, so that a cut value is never applied. `length` counts the stored bytes, NUL
// bytes included.
SetupLineRead ReadSetupLineCounted(char* buffer, int size, std::FILE* file, int& length);
// The same; null at the end of the file, on a read error or for a buffer too small.
char* ReadSetupLine(char* buffer, int size, std::FILE* file);

// A setup file's text in memory, read by the same rules as from the file. `failed`: the file's reading
// stopped at a read error right after this text, so that its last, partly read line is lost as it would be.
struct SetupText {
  std::string_view rest;
  bool failed = false;
};
SetupLineRead ReadSetupLineCounted(char* buffer, int size, SetupText& text, int& length);

// A stream's bytes from where it stands to its end, read into memory in one go, so that a file and a text
// in memory go through one parser. A read error keeps the bytes read before it.
class SetupFileBytes {
 public:
  explicit SetupFileBytes(std::FILE* file);
  bool outOfMemory() const { return outOfMemory_; }
  SetupText text() const { return {std::string_view(bytes_.get(), size_), readError_}; }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
  bool readError_ = false;
  bool outOfMemory_ = false;
};

// TEXT without its blanks (' '), cut to fit, always terminated; a null text gives an empty one.
void StripBlanks(const char* text, char (&result)[kSetupTextSize]);
// Lower-case ASCII letters to upper case, in place.
void UpperCaseSetupText(char* text);
// Removes a trailing LF, CR, or CR LF, in place.
void RemoveSetupLineEnd(char* line);

}  // namespace talvenor
