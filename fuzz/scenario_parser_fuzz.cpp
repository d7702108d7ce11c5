// Any text as a scenario file for talvenor-sim: the lexer and the parser either give directives or refuse
// the text with a ScenarioError naming a line of it; no other exception, no read or write outside a buffer.
// Every directive names a line of the text, in order, and keeps what was written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "lexer.h"
#include "parser.h"

namespace {

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "scenario parser fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  long lines = 1;
  for (const char c : text) lines += c == '\n' ? 1 : 0;
  try {
    const std::vector<sim::scenario::Directive> directives = sim::scenario::Parse(text);
    int previous = 0;
    for (const sim::scenario::Directive& directive : directives) {
      Check(directive.line > previous && directive.line <= lines, "a directive's line is out of order");
      Check(!directive.source.empty(), "a directive lost its source text");
      previous = directive.line;
    }
  } catch (const sim::scenario::ScenarioError& error) {
    Check(error.line() >= 0 && error.line() <= lines, "an error names a line the text does not have");
  }
  return 0;
}
