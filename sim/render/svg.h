// What the SVG pictures share: numbers written the same on every platform and text made safe for XML.
#pragma once

#include <string>
#include <string_view>

namespace sim::render {

// `value` with `decimals` digits after the point, never "-0".
std::string Fixed(double value, int decimals);
// Text for an SVG text node or attribute: markup characters escaped, line breaks and tabs as blanks.
std::string Escape(std::string_view text);

}  // namespace sim::render
