#include "lexer.h"

#include <cctype>

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

}  // namespace

std::vector<Line> Lex(std::string_view text) {
  const std::vector<std::string_view> lines = SplitLines(text);
  std::vector<Line> result;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const std::string_view line = lines[index];
    const int number = static_cast<int>(index) + 1;
    Line out;
    out.number = number;
    std::vector<std::string> heredocWords;  // in order of appearance
    std::vector<std::size_t> heredocArgs;
    std::size_t end = line.size();  // where the comment starts
    std::size_t pos = 0;
    while (pos < line.size()) {
      if (IsBlank(line[pos])) {
        ++pos;
        continue;
      }
      if (line[pos] == '#' &&
          !(pos + 1 < line.size() && std::isdigit(static_cast<unsigned char>(line[pos + 1])))) {
        end = pos;
        break;
      }
      Arg arg;
      if (line[pos] == '"') {
        arg.quoted = true;
        ++pos;
        bool closed = false;
        while (pos < line.size()) {
          const char c = line[pos++];
          if (c == '"') {
            closed = true;
            break;
          }
          if (c != '\\') {
            arg.text += c;
            continue;
          }
          if (pos >= line.size()) break;
          switch (const char escaped = line[pos++]) {
            case '"':
              arg.text += '"';
              break;
            case '\\':
              arg.text += '\\';
              break;
            case 'n':
              arg.text += '\n';
              break;
            case 'r':
              arg.text += '\r';
              break;
            case 't':
              arg.text += '\t';
              break;
            default:
              throw ScenarioError(number,
                                  std::string("unknown escape \\") + escaped + " in a quoted argument");
          }
        }
        if (!closed) throw ScenarioError(number, "the quoted argument is not closed");
        if (pos < line.size() && line[pos] == '#') {
          std::size_t digits = pos + 1;
          int k = 0;
          while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits])) &&
                 k < 100000) {
            k = k * 10 + (line[digits] - '0');
            ++digits;
          }
          if (digits == pos + 1 || k < 1)
            throw ScenarioError(number, "expected a number from 1 after \"...\"#");
          arg.ordinal = k;
          pos = digits;
        }
        if (pos < line.size() && !IsBlank(line[pos])) {
          throw ScenarioError(number, "expected a blank after the closing quote");
        }
      } else {
        const std::size_t start = pos;
        while (pos < line.size() && !IsBlank(line[pos])) {
          if (line[pos] == '"') throw ScenarioError(number, "a quote may only open an argument");
          ++pos;
        }
        arg.text = std::string(line.substr(start, pos - start));
        if (arg.text.size() > 2 && arg.text.starts_with("<<")) {
          heredocWords.push_back(arg.text.substr(2));
          heredocArgs.push_back(out.args.size());
          arg.quoted = true;
          arg.text.clear();
        }
      }
      out.args.push_back(std::move(arg));
    }
    out.source = Trim(line.substr(0, end));
    for (std::size_t h = 0; h < heredocWords.size(); ++h) {
      std::string body;
      bool closed = false;
      while (++index < lines.size()) {
        if (lines[index] == heredocWords[h]) {
          closed = true;
          break;
        }
        body.append(lines[index]);
        body += '\n';
      }
      if (!closed) throw ScenarioError(number, "the heredoc <<" + heredocWords[h] + " has no closing line");
      out.args[heredocArgs[h]].text = std::move(body);
    }
    if (!out.args.empty()) result.push_back(std::move(out));
  }
  return result;
}

}  // namespace sim::scenario
