#include "config/setup_lines.h"

#include <cstring>
#include <new>
#include <utility>

namespace talvenor {

namespace {

// What the line reader reads from: a stream, or a text in memory that ends as the stream did.
struct StreamSource {
  std::FILE* file;
  bool Failed() const { return std::ferror(file) != 0; }
  int Get() { return std::fgetc(file); }
  void PutBack(int c) { (void)std::ungetc(c, file); }  // one push-back always fits
};

struct TextSource {
  SetupText& text;
  bool Failed() const { return text.failed && text.rest.empty(); }
  int Get() {
    if (text.rest.empty()) return EOF;
    const auto c = static_cast<unsigned char>(text.rest.front());
    text.rest.remove_prefix(1);
    return c;
  }
  void PutBack(int) { text.rest = std::string_view(text.rest.data() - 1, text.rest.size() + 1); }
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

SetupLineRead ReadSetupLineCounted(char* buffer, int size, SetupText& text, int& length) {
  return ReadLine(buffer, size, TextSource{text}, length);
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
