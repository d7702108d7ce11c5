// Splits a scenario text into directives: one per line, arguments separated by blanks.
//
// Rules beyond the obvious ones:
// - `#` starts a comment when it stands outside quotes at the start of an argument, except when a digit
//   follows it (`#2`, a menu item's index); inside a bare argument it is an ordinary character, and right
//   after a closing quote it introduces an ordinal (`"Toggle"#2`, the second widget with that caption).
// - A double quote may open an argument only at its start; `\"`, `\\`, `\n`, `\r`, `\t` are its escapes.
// - `<<WORD` as a whole bare argument takes the following lines up to one that is exactly WORD, each line
//   ending in "\n". Several heredocs on one line take their texts one after the other.
// - A carriage return before a line feed is dropped, so files saved with CR LF read the same.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sim::scenario {

// A scenario that cannot be run: the line (from 1; 0 for the whole file) and what is wrong.
class ScenarioError : public std::runtime_error {
 public:
  ScenarioError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

struct Arg {
  std::string text;            // unescaped
  bool quoted = false;         // written in quotes or as a heredoc
  std::optional<int> ordinal;  // the K of "CAPTION"#K
};

struct Line {
  int number = 0;      // of the directive's first line
  std::string source;  // the directive as written, without its comment (heredoc bodies left out)
  std::vector<Arg> args;
};

// Throws ScenarioError for an unterminated quote or heredoc, an unknown escape or stray text after a quote.
std::vector<Line> Lex(std::string_view text);

}  // namespace sim::scenario
