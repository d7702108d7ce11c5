#include "directive.h"

#include <algorithm>
#include <cstdlib>

#include "keys.h"
#include "values.h"

namespace sim::scenario {

Reader::Reader(const Line& line) : line_(line), args_(line.args) {
  FoldWidgetKind();
}

void Reader::Use(const DirectiveType& type) {
  type_ = &type;
  first_ = 0;
  for (std::size_t at = 0; at <= type.keyword.size(); ++first_) {
    const std::size_t end = std::min(type.keyword.find(' ', at), type.keyword.size());
    const std::string_view word = type.keyword.substr(at, end - at);
    if (word == "_" || word.find('|') != std::string_view::npos) choices_.push_back(first_);
    at = end + 1;
  }
}

Args ReadOptionalName(const Reader& r) {
  r.Count(r.first(), 0, 1);
  return Named{r.size() > r.first() ? r.Text(r.first()) : std::string()};
}

std::vector<std::size_t> Reader::Places(std::size_t n) const {
  Count(first_, n - choices_.size(), n - choices_.size());
  std::vector<std::size_t> places = choices_;
  for (std::size_t i = first_; places.size() < n; ++i) places.push_back(i);
  return places;
}

void Reader::Fail(const std::string& message) const {
  throw ScenarioError(line_.number, message);
}

bool Reader::IsWord(std::size_t i, std::string_view word) const {
  return i < size() && !At(i).quoted && !At(i).ordinal && At(i).text == word;
}

void Reader::Count(std::size_t first, std::size_t min, std::size_t max, std::string_view usage) const {
  const std::size_t n = size() - first;
  if (n < min || n > max)
    Fail("wrong number of arguments, expected: " + std::string(usage.empty() ? type_->usage : usage));
}

std::string Reader::Text(std::size_t i) const {
  if (At(i).ordinal) Fail("\"...\"#K only names a widget: " + Written(i));
  return At(i).text;
}

std::string Reader::Written(std::size_t i) const {
  const Arg& arg = At(i);
  std::string text = arg.quoted ? "\"" + arg.text + "\"" : arg.text;
  if (arg.ordinal) text += "#" + std::to_string(*arg.ordinal);
  return !kindWord_.empty() && i == kindAt_ ? kindWord_ + " " + text : text;
}

long long Reader::Integer(std::size_t i, std::string_view what, long long min, long long max) const {
  const std::optional<long long> value = ParseInteger(Text(i));
  if (!value) Fail(std::string(what) + " must be a whole number, not " + Written(i));
  if (*value < min || *value > max) {
    Fail(std::string(what) + " must be " +
         (max == std::numeric_limits<long long>::max()
              ? "at least " + std::to_string(min)
              : "from " + std::to_string(min) + " to " + std::to_string(max)) +
         ", not " + Written(i));
  }
  return *value;
}

double Reader::Decimal(std::string_view text, std::string_view what, std::size_t i) const {
  const std::optional<double> value = ParseDecimal(text);
  if (!value)
    Fail(std::string(what) + " must be a number (with \".\" as the decimal point), not " + Written(i));
  return *value;
}

DataRefName Reader::DataRef(std::size_t i) const {
  DataRefName result;
  result.written = Text(i);
  std::string_view text = result.written;
  if (text.empty()) Fail("a dataref name is empty");
  const std::size_t open = text.find('[');
  if (open != std::string_view::npos) {
    if (text.back() != ']' || open == 0)
      Fail("a dataref element is written NAME[INDEX], not " + result.written);
    const std::optional<long long> index = ParseInteger(text.substr(open + 1, text.size() - open - 2));
    if (!index || *index < 0 || *index > std::numeric_limits<int>::max()) {
      Fail("a dataref element index must be a whole number from 0, not " + result.written);
    }
    result.index = static_cast<int>(*index);
    text = text.substr(0, open);
  }
  result.name = std::string(text);
  return result;
}

WidgetName Reader::Widget(std::size_t i) const {
  const Arg& arg = At(i);
  WidgetName result;
  result.written = Written(i);
  if (!arg.quoted && arg.text.starts_with("@")) {
    const std::string_view rest = std::string_view(arg.text).substr(1);
    const std::size_t comma = rest.find(',');
    const std::optional<long long> dl = ParseInteger(rest.substr(0, comma));
    const std::optional<long long> dt =
        comma == std::string_view::npos ? std::nullopt : ParseInteger(rest.substr(comma + 1));
    if (!dl || !dt || std::llabs(*dl) > 100000 || std::llabs(*dt) > 100000) {
      Fail("a widget by position is written @DL,DT, not " + result.written);
    }
    result.byOffset = true;
    result.dl = static_cast<int>(*dl);
    result.dt = static_cast<int>(*dt);
    return result;
  }
  result.caption = arg.text;
  result.ordinal = arg.ordinal.value_or(1);
  if (!kindWord_.empty() && i == kindAt_) result.kind = kind_;
  return result;
}

std::string Reader::Bytes(std::size_t first) const {
  std::string hex;
  for (std::size_t i = first; i < size(); ++i) hex += Text(i) + " ";
  const std::optional<std::string> bytes = ParseHexBytes(hex);
  if (!bytes) Fail("bytes must be hexadecimal pairs, not " + hex.substr(0, hex.size() - 1));
  return *bytes;
}

int Reader::Key(std::size_t i) const {
  const std::optional<int> code = KeyCode(Text(i));
  if (!code) Fail("unknown key " + Written(i));
  return *code;
}

int Reader::Flags(std::size_t i) const {
  const std::optional<int> flags = KeyFlags(Text(i));
  if (!flags) Fail("unknown modifiers " + Written(i) + " (SHIFT, ALT, CONTROL, DOWN, UP joined by +)");
  return *flags;
}

int Reader::Modifiers(std::size_t i) const {
  const int flags = Flags(i);
  if ((flags & kDownAndUpFlags) != 0)
    Fail("a key is pressed with SHIFT, ALT and CONTROL only, not " + Written(i) +
         ": the host sends DOWN and UP");
  return flags;
}

std::string Reader::OneOf(std::size_t i, std::initializer_list<std::string_view> words) const {
  const std::string text = Text(i);
  std::string list;
  for (const std::string_view word : words) {
    if (text == word) return text;
    list += (list.empty() ? "" : ", ") + std::string(word);
  }
  Fail("expected one of " + list + ", not " + Written(i));
}

// A kind word and the quoted label after it, where a directive names its widget, read as one argument so
// that the arguments after them keep their places.
void Reader::FoldWidgetKind() {
  const bool widgetWord = args_.size() > 1 && !args_[1].quoted && args_[1].text == "widget";
  const std::string first = args_.empty() || args_[0].quoted ? "" : args_[0].text;
  const std::size_t at = first == "click" || first == "type"                     ? 2
                         : (first == "expect" || first == "print") && widgetWord ? 3
                                                                                 : 0;
  if (at == 0 || at + 1 >= args_.size() || args_[at].quoted || !args_[at + 1].quoted) return;
  const std::string& word = args_[at].text;
  const WidgetKind kind = word == "button"    ? WidgetKind::Button
                          : word == "field"   ? WidgetKind::Field
                          : word == "box"     ? WidgetKind::Box
                          : word == "caption" ? WidgetKind::Caption
                                              : WidgetKind::Any;
  if (kind == WidgetKind::Any) return;
  kind_ = kind;
  kindWord_ = word;
  kindAt_ = at;
  args_.erase(args_.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace sim::scenario
