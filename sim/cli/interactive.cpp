#include "interactive.h"

#include <iostream>
#include <optional>
#include <string_view>

#include "lexer.h"

#ifdef _WIN32
#include <io.h>
#define TALVENOR_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define TALVENOR_ISATTY(fd) isatty(fd)
#endif

#ifdef TALVENOR_HAVE_EDITLINE
#include <editline/readline.h>

#include <cstdlib>
#endif

namespace {

constexpr const char* kHelp =
    "Directives as in a scenario file, one per line (a heredoc <<WORD goes on to the line WORD), e.g.\n"
    "  start | menu Talvenor Enable | frames 50 | seconds 1.5 | key F1 SHIFT\n"
    "  command hold sim/general/left 10 | click \"Talvenor v1.70\" button \"1\"\n"
    "  print sim/graphics/view/pilots_head_x | print widget \"Talvenor v1.70\" field \"X\" | print log\n"
    "  expect sim/graphics/view/pilots_head_psi 0 | render screen.svg | stop\n"
    "After each: the simulated time, the head datarefs and the windows that changed.\n"
    "help: this text. quit: quit as X-Plane does (preferences written, then every plugin disabled and\n"
    "stopped), check what it left, and leave; exit (or the end of input): the same without the preferences.\n"
    "The whole language: docs/scenario-language.md.\n";

// One line from the terminal (with editing and history where the build has it) or from a pipe.
std::optional<std::string> ReadLine(bool terminal, const char* prompt) {
#ifdef TALVENOR_HAVE_EDITLINE
  if (terminal) {
    char* line = readline(prompt);
    if (line == nullptr) return std::nullopt;
    std::string text(line);
    std::free(line);
    if (!text.empty()) add_history(text.c_str());
    return text;
  }
#endif
  if (terminal) std::cout << prompt << std::flush;
  std::string text;
  if (!std::getline(std::cin, text)) return std::nullopt;
  return text;
}

// A directive whose heredoc has not reached its closing line yet needs more lines.
bool NeedsMore(const std::string& text) {
  try {
    sim::scenario::Lex(text);
  } catch (const sim::scenario::ScenarioError& e) {
    return std::string_view(e.what()).find("has no closing line") != std::string_view::npos;
  }
  return false;
}

}  // namespace

int RunInteractive(const sim::scenario::RunOptions& options, const std::vector<std::string>& files) {
  sim::scenario::Session session(options, std::cout, std::cerr);
  for (const std::string& file : files) {
    const std::optional<std::string> text = sim::scenario::ReadFile(file);
    if (!text) {
      std::cerr << file << ": error: cannot read the scenario file\n";
      continue;
    }
    std::cout << "running " << file << '\n';
    session.Run(*text);
  }
  const bool terminal = TALVENOR_ISATTY(0) != 0;
  if (terminal) std::cout << "talvenor-sim: type directives; help lists some, quit ends.\n";
  std::string text;
  while (const std::optional<std::string> line = ReadLine(terminal, text.empty() ? "sim> " : "...> ")) {
    text += text.empty() ? *line : "\n" + *line;
    if (NeedsMore(text)) continue;
    const std::string_view word = std::string_view(text).substr(0, text.find_first_of(" \t"));
    if (word == "quit" || word == "exit") {
      if (word == "quit") session.Run(text);  // X-Plane's quitting order, then the session ends
      text.clear();
      break;
    }
    if (word == "help") {
      std::cout << kHelp;
    } else {
      session.Run(text);
    }
    text.clear();
  }
  if (!text.empty()) session.Run(text);  // the heredoc's closing line never came: say so
  return session.End();
}
