#include "config/setup_lines.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace talvenor {

namespace {

// The stream the line reader reads from.
struct StreamSource {
  std::FILE* file;
  bool Failed() const { return std::ferror(file) != 0; }
  int Get() { return std::fgetc(file); }
  void PutBack(int c) { (void)std::ungetc(c, file); }  // one push-back always fits
};

template <typename Source>
SetupLineRead ReadLine(char* buffer, int size, Source source, int& length) {
  length = 0;
  if (source.Failed()) return SetupLineRead::kError;
  while (length < size - 1) {
    const int c = source.Get();
    if (c == EOF) {
      if (source.Failed()) return SetupLineRead::kError;
      if (length == 0) return SetupLineRead::kEnd;
      break;
    }
    buffer[length++] = static_cast<char>(c);
    if (c == '\n' || c == '\r') {
      // The other character of a CR LF or LF CR pair belongs to this line end.
      const int pair = c == '\n' ? int{'\r'} : int{'\n'};
      const int next = source.Get();
      if (next != EOF && next != pair) source.PutBack(next);
      break;
    }
  }
  buffer[length] = '\0';
  return SetupLineRead::kLine;
}

}  // namespace

SetupLineRead ReadSetupLineCounted(char* buffer, int size, std::FILE* file, int& length) {
  return ReadLine(buffer, size, StreamSource{file}, length);
}

// As the stream's reader, byte for byte, but a line is found and copied whole: a file's text is read this way
// at every start.
SetupLineRead ReadSetupLineCounted(char* buffer, int size, SetupText& text, int& length) {
  length = 0;
  if (text.failed && text.rest.empty()) return SetupLineRead::kError;
  if (size < 2) {
    if (size == 1) buffer[0] = '\0';
    return SetupLineRead::kLine;
  }
  if (text.rest.empty()) return SetupLineRead::kEnd;
  const auto room = static_cast<std::size_t>(size - 1);
  const std::size_t span = std::min(room, text.rest.size());
  const char* data = text.rest.data();
  const void* lf = std::memchr(data, '\n', span);
  std::size_t end = lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : span;
  if (const void* cr = std::memchr(data, '\r', end))
    end = static_cast<std::size_t>(static_cast<const char*>(cr) - data);
  const bool lineEnd = end < span;
  const std::size_t taken = lineEnd ? end + 1 : span;
  std::memcpy(buffer, data, taken);
  buffer[taken] = '\0';
  length = static_cast<int>(taken);
  text.rest.remove_prefix(taken);
  if (lineEnd) {
    // The other character of a CR LF or LF CR pair belongs to this line end.
    const char pair = data[end] == '\n' ? '\r' : '\n';
    if (!text.rest.empty() && text.rest.front() == pair) text.rest.remove_prefix(1);
  } else if (span < room && text.failed) {
    return SetupLineRead::kError;  // the end came before the line's, and the reading of the bytes had failed
  }
  return SetupLineRead::kLine;
}

SetupFileBytes::SetupFileBytes(std::FILE* file) {
  std::size_t capacity = 0;
  for (;;) {
    if (size_ == capacity) {
      const std::size_t grown = capacity == 0 ? 4096 : capacity * 2;
      std::unique_ptr<char[]> bigger(new (std::nothrow) char[grown]);
      if (bigger == nullptr) {
        outOfMemory_ = true;
        return;
      }
      if (size_ > 0) std::memcpy(bigger.get(), bytes_.get(), size_);
      bytes_ = std::move(bigger);
      capacity = grown;
    }
    const std::size_t read = std::fread(bytes_.get() + size_, 1, capacity - size_, file);
    size_ += read;
    if (read == 0) break;
  }
  readError_ = std::ferror(file) != 0;
}

char* ReadSetupLine(char* buffer, int size, std::FILE* file) {
  if (buffer == nullptr || file == nullptr || size < 2) return nullptr;
  int length = 0;
  return ReadSetupLineCounted(buffer, size, file, length) == SetupLineRead::kLine ? buffer : nullptr;
}

void StripBlanks(const char* text, char (&result)[kSetupTextSize]) {
  std::memset(result, 0, sizeof result);
  if (text == nullptr) return;
  std::size_t length = 0;
  for (; *text != '\0' && length < kSetupTextSize - 1; ++text) {
    if (*text != ' ') result[length++] = *text;
  }
}

void UpperCaseSetupText(char* text) {
  for (; *text != '\0'; ++text) {
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
  }
}

void RemoveSetupLineEnd(char* line) {
  std::size_t length = std::strlen(line);
  if (length > 0 && line[length - 1] == '\r') line[--length] = '\0';
  if (length > 0 && line[length - 1] == '\n') line[--length] = '\0';
}

}  // namespace talvenor
