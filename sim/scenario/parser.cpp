#include "parser.h"

#include "reader.h"

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

std::vector<Directive> Parse(std::string_view text) {
  std::vector<Directive> directives;
  for (const Line& line : Lex(text)) directives.push_back(ParseLine(line));
  return directives;
}

}  // namespace sim::scenario
