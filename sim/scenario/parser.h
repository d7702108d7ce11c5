// The directives of a scenario, checked for their form before anything runs: names, argument counts,
// numbers, key names and byte strings. What depends on the simulator (a dataref's existence, a widget) is
// checked when the directive runs.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "directive.h"
#include "lexer.h"

namespace sim::scenario {

// Throws ScenarioError naming the line.
Directive ParseLine(const Line& line);
std::vector<Directive> Parse(std::string_view text);

}  // namespace sim::scenario
