#include "parser.h"

#include <algorithm>

namespace sim::scenario {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

// An entry's keyword, word by word, each word as its alternatives ("_" alone: any argument).
struct Pattern {
  const DirectiveType* type;
  std::vector<std::vector<std::string_view>> words;
};

const std::vector<Pattern>& Patterns() {
  static const std::vector<Pattern> patterns = [] {
    std::vector<Pattern> all;
    for (const DirectiveType* type : Directives()) {
      Pattern pattern{type, {}};
      for (const std::string_view word : Split(type->keyword, ' ')) pattern.words.push_back(Split(word, '|'));
      all.push_back(std::move(pattern));
    }
    return all;
  }();
  return patterns;
}

// The first word may be quoted, as any text; the words after it name a form only when written bare.
bool WordMatches(const std::vector<std::string_view>& words, const Reader& r, std::size_t i) {
  if (i >= r.size()) return false;
  if (words.front() == "_") return true;
  const Arg& arg = r.At(i);
  if (arg.ordinal || (arg.quoted && i > 0)) return false;
  return std::find(words.begin(), words.end(), arg.text) != words.end();
}

std::size_t WordsMatched(const Pattern& pattern, const Reader& r) {
  std::size_t n = 0;
  while (n < pattern.words.size() && WordMatches(pattern.words[n], r, n)) ++n;
  return n;
}

// The line names no whole form but goes `depth` words into some: what could follow there.
[[noreturn]] void FailAtFork(const Reader& r, std::size_t depth) {
  std::vector<std::string_view> words;
  std::string usages;
  for (const Pattern& pattern : Patterns()) {
    if (WordsMatched(pattern, r) < depth) continue;
    usages += (usages.empty() ? "" : ", ") + std::string(pattern.type->usage);
    for (const std::string_view word : pattern.words[depth]) {
      if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
    }
  }
  std::string list;
  for (const std::string_view word : words) list += (list.empty() ? "" : ", ") + std::string(word);
  if (depth >= r.size()) r.Fail("wrong number of arguments, expected: " + usages);
  r.Fail("expected one of " + list + ", not " + r.Written(depth));
}

// The form whose words the line begins with, the longest when several do; a line that goes further into
// another form than into any whole one is an error at the word where it parts from it.
const DirectiveType& MatchDirective(const Reader& r) {
  const DirectiveType* best = nullptr;
  std::size_t bestWords = 0, deepest = 0;
  for (const Pattern& pattern : Patterns()) {
    const std::size_t n = WordsMatched(pattern, r);
    if (n == pattern.words.size()) {
      if (n > bestWords) best = pattern.type, bestWords = n;
    } else {
      deepest = std::max(deepest, n);
    }
  }
  if (best != nullptr && bestWords >= deepest) return *best;
  if (deepest == 0) r.Fail("unknown directive " + r.Written(0));
  FailAtFork(r, deepest);
}

}  // namespace

const std::vector<const DirectiveType*>& Directives() {
  static const std::vector<const DirectiveType*> all = [] {
    std::vector<const DirectiveType*> types;
    for (const std::span<const DirectiveType> family :
         {kSetupDirectives, kPluginDirectives, kInputDirectives, kTrackerDirectives, kUdpDirectives,
          kOutputDirectives, kExpectDirectives}) {
      for (const DirectiveType& type : family) types.push_back(&type);
    }
    return types;
  }();
  return all;
}

Directive ParseLine(const Line& line) {
  Reader r(line);
  Directive d;
  d.line = line.number;
  d.source = line.source;
  d.words = line.args;
  d.type = &MatchDirective(r);
  r.Use(*d.type);
  d.args = d.type->parse(r);
  return d;
}

std::vector<Directive> Parse(std::string_view text) {
  std::vector<Directive> directives;
  for (const Line& line : Lex(text)) directives.push_back(ParseLine(line));
  return directives;
}

}  // namespace sim::scenario
