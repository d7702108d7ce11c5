#include "lexer.h"

#include <cctype>
#include <utility>

namespace sim::scenario {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The text's lines without their line ends.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// One line's arguments, read from left to right; a heredoc's argument is filled in from the lines after it.
class LineReader {
 public:
  LineReader(std::string_view line, int number) : line_(line), number_(number) {}

  // The arguments up to the end or a comment; `end` is where the comment starts.
  std::vector<Arg> Read(std::size_t& end) {
    std::vector<Arg> args;
    end = line_.size();
    while (pos_ < line_.size()) {
      if (IsBlank(line_[pos_])) {
        ++pos_;
      } else if (line_[pos_] == '#' && !DigitAt(pos_ + 1)) {
        end = pos_;
        break;
      } else {
        args.push_back(line_[pos_] == '"' ? Quoted() : Bare(args.size()));
      }
    }
    return args;
  }

  // Each heredoc's word and the argument it stands in, in order of appearance.
  std::vector<std::pair<std::string, std::size_t>> heredocs;

 private:
  bool DigitAt(std::size_t at) const {
    return at < line_.size() && std::isdigit(static_cast<unsigned char>(line_[at]));
  }

  [[noreturn]] void Fail(const std::string& message) const { throw ScenarioError(number_, message); }

  Arg Quoted() {
    Arg arg;
    arg.quoted = true;
    ++pos_;
    bool closed = false;
    while (pos_ < line_.size()) {
      const char c = line_[pos_++];
      if (c == '"') {
        closed = true;
        break;
      }
      if (c != '\\') {
        arg.text += c;
      } else if (pos_ < line_.size()) {
        arg.text += Escaped(line_[pos_++]);
      }
    }
    if (!closed) Fail("the quoted argument is not closed");
    if (pos_ < line_.size() && line_[pos_] == '#') arg.ordinal = Ordinal();
    if (pos_ < line_.size() && !IsBlank(line_[pos_])) Fail("expected a blank after the closing quote");
    return arg;
  }

  // Each letter after a backslash stands for the character in the same place of the second.
  char Escaped(char escaped) const {
    constexpr std::string_view kLetters = "\"\\nrt", kMeant = "\"\\\n\r\t";
    const std::size_t at = kLetters.find(escaped);
    if (at == std::string_view::npos)
      Fail(std::string("unknown escape \\") + escaped + " in a quoted argument");
    return kMeant[at];
  }

  // The K of "CAPTION"#K.
  int Ordinal() {
    std::size_t digits = pos_ + 1;
    int k = 0;
    while (DigitAt(digits) && k < 100000) k = k * 10 + (line_[digits++] - '0');
    if (digits == pos_ + 1 || k < 1) Fail("expected a number from 1 after \"...\"#");
    pos_ = digits;
    return k;
  }

  Arg Bare(std::size_t index) {
    const std::size_t start = pos_;
    while (pos_ < line_.size() && !IsBlank(line_[pos_])) {
      if (line_[pos_] == '"') Fail("a quote may only open an argument");
      ++pos_;
    }
    Arg arg;
    arg.text = std::string(line_.substr(start, pos_ - start));
    if (arg.text.size() > 2 && arg.text.starts_with("<<")) {
      heredocs.emplace_back(arg.text.substr(2), index);
      arg.quoted = true;
      arg.text.clear();
    }
    return arg;
  }

  std::string_view line_;
  int number_;
  std::size_t pos_ = 0;
};

// The lines after LINES[index] up to the one that is exactly WORD, each ended by "\n"; index moves to it.
std::string HeredocBody(const std::vector<std::string_view>& lines, std::size_t& index,
                        const std::string& word, int number) {
  std::string body;
  while (++index < lines.size()) {
    if (lines[index] == word) return body;
    body.append(lines[index]);
    body += '\n';
  }
  throw ScenarioError(number, "the heredoc <<" + word + " has no closing line");
}

}  // namespace

std::vector<Line> Lex(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  std::vector<Line> result;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    Line out;
    out.number = static_cast<int>(index) + 1;
    LineReader reader(lines[index], out.number);
    std::size_t end = 0;
    out.args = reader.Read(end);
    out.source = Trim(lines[index].substr(0, end));
    for (const auto& heredoc : reader.heredocs)
      out.args[heredoc.second].text = HeredocBody(lines, index, heredoc.first, out.number);
    if (!out.args.empty()) result.push_back(std::move(out));
  }
  return result;
}

}  // namespace sim::scenario
