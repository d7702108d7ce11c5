// One lexed line being read into a directive's arguments; every complaint names the line.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "directive.h"
#include "lexer.h"

namespace sim::scenario {

class Reader {
 public:
  explicit Reader(const Line& line);

  [[noreturn]] void Fail(const std::string& message) const;

  // The entry the line was matched to; its usage is what a wrong count shows.
  void Use(const DirectiveType& type);
  // How many words the entry's keyword has: its arguments follow them.
  std::size_t first() const { return first_; }
  std::string_view usage() const { return type_ != nullptr ? type_->usage : std::string_view(); }

  std::size_t size() const { return args_.size(); }
  const Arg& At(std::size_t i) const { return args_.at(i); }
  bool IsWord(std::size_t i, std::string_view word) const;
  // Arguments from `first` on must number between min and max; otherwise the usage (the entry's unless given)
  // is shown.
  void Count(std::size_t first, std::size_t min, std::size_t max, std::string_view usage = {}) const;

  std::string Text(std::size_t i) const;
  std::string Written(std::size_t i) const;
  long long Integer(std::size_t i, std::string_view what, long long min,
                    long long max = std::numeric_limits<long long>::max()) const;
  double Decimal(std::string_view text, std::string_view what, std::size_t i) const;
  DataRefName DataRef(std::size_t i) const;
  WidgetName Widget(std::size_t i) const;
  // The hexadecimal pairs of every argument from `first` on.
  std::string Bytes(std::size_t first) const;
  int Key(std::size_t i) const;
  int Flags(std::size_t i) const;
  // The modifiers a key is pressed with: the host sends DOWN and UP itself.
  int Modifiers(std::size_t i) const;
  // One of the words; fails with them listed.
  std::string OneOf(std::size_t i, std::initializer_list<std::string_view> words) const;

 private:
  void FoldWidgetKind();

  const Line& line_;
  std::vector<Arg> args_;
  WidgetKind kind_ = WidgetKind::Any;
  std::string kindWord_;
  std::size_t kindAt_ = 0;
  const DirectiveType* type_ = nullptr;
  std::size_t first_ = 1;
};

// The arguments of the many directives that take none, one NAME, or an optional NAME.
Args ReadNone(const Reader& r);
Args ReadName(const Reader& r);
Args ReadOptionalName(const Reader& r);

// The entry whose words the line begins with; throws ScenarioError for a line that names none.
const DirectiveType& MatchDirective(const Reader& r);

}  // namespace sim::scenario
