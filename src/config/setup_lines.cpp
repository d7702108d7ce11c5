#include "config/setup_lines.h"

#include <cstring>

namespace talvenor {

SetupLineRead ReadSetupLineCounted(char* buffer, int size, std::FILE* file, int& length) {
  length = 0;
  if (std::ferror(file)) return SetupLineRead::kError;
  while (length < size - 1) {
    const int c = std::fgetc(file);
    if (c == EOF) {
      if (std::ferror(file)) return SetupLineRead::kError;
      if (length == 0) return SetupLineRead::kEnd;
      break;
    }
    buffer[length++] = static_cast<char>(c);
    if (c == '\n' || c == '\r') {
      // The other character of a CR LF or LF CR pair belongs to this line end.
      const int pair = c == '\n' ? int{'\r'} : int{'\n'};
      const int next = std::fgetc(file);
      if (next != EOF && next != pair) (void)std::ungetc(next, file);  // one push-back always fits
      break;
    }
  }
  buffer[length] = '\0';
  return SetupLineRead::kLine;
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
