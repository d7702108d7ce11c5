#include "parser.h"

#include "reader.h"
#include "values.h"

namespace sim::scenario {

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

std::vector<Directive> Parse(const std::vector<Line>& lines) {
  std::vector<Directive> directives;
  directives.reserve(lines.size());
  for (const Line& line : lines) directives.push_back(ParseLine(line));
  return directives;
}

std::vector<Directive> Parse(std::string_view text) {
  return Parse(Lex(text));
}

std::vector<Placeholder> FindPlaceholders(std::string_view text) {
  std::vector<Placeholder> found;
  for (std::size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open + 1)) {
    Placeholder p;
    p.at = open;
    const std::size_t close = text.find('}', open);
    p.length = close == std::string_view::npos ? text.size() - open : close + 1 - open;
    p.written = std::string(text.substr(open, p.length));
    if (close != std::string_view::npos) {
      std::string_view inner = text.substr(open + 1, close - open - 1);
      const std::size_t colon = inner.find(':');
      p.valid = true;
      if (colon != std::string_view::npos) {
        const std::optional<long long> decimals = ParseInteger(inner.substr(colon + 1));
        p.valid = decimals && *decimals >= 0 && *decimals <= 9;
        p.decimals = p.valid ? static_cast<int>(*decimals) : -1;
        inner = inner.substr(0, colon);
      }
      p.dataref = std::string(inner);
      p.valid = p.valid && !p.dataref.empty() && p.dataref.find_first_of(" {\"") == std::string::npos;
    }
    found.push_back(std::move(p));
    if (close == std::string_view::npos) break;
    open = close;
  }
  return found;
}

}  // namespace sim::scenario
