// The scenario language's syntax, numbers and comparisons, without a simulator.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

#include "directive.h"
#include "keys.h"
#include "lexer.h"
#include "parser.h"
#include "runner.h"
#include "values.h"

namespace sim::scenario {
namespace {

// The line and message of the error a text raises, or line -1 when it parses.
std::pair<int, std::string> ErrorOf(std::string_view text) {
  try {
    Parse(text);
  } catch (const ScenarioError& e) {
    return {e.line(), e.what()};
  }
  return {-1, ""};
}

TEST(ScenarioLexer, SplitsArgumentsAndDropsCommentsAndBlankLines) {
  const auto lines = Lex("# heading\n\n  frames   5   # five cycles\nprint a/b c/d\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].number, 3);
  EXPECT_EQ(lines[0].source, "frames   5");
  ASSERT_EQ(lines[0].args.size(), 2u);
  EXPECT_EQ(lines[0].args[1].text, "5");
  EXPECT_EQ(lines[1].number, 4);
  EXPECT_EQ(lines[1].args.size(), 3u);
}

TEST(ScenarioLexer, QuotesKeepBlanksAndHashesAndUnescape) {
  const auto lines = Lex(R"(write f.txt "a # b \"q\" \\ \n\r\t end" # comment)");
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0].args.size(), 3u);
  EXPECT_TRUE(lines[0].args[2].quoted);
  EXPECT_EQ(lines[0].args[2].text, "a # b \"q\" \\ \n\r\t end");
  EXPECT_FALSE(lines[0].args[1].quoted);
  const auto empty = Lex(R"(type W F "")");
  ASSERT_EQ(empty[0].args.size(), 4u);
  EXPECT_EQ(empty[0].args[3].text, "");
}

TEST(ScenarioLexer, OrdinalsAndIndexesAreNotComments) {
  const auto lines = Lex("click \"Win\" \"Toggle\"#2\nexpect menu Plugins #0 enabled\nkey F1 #x\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].args[2].text, "Toggle");
  EXPECT_EQ(lines[0].args[2].ordinal, 2);
  EXPECT_EQ(lines[1].args.size(), 5u);
  EXPECT_EQ(lines[1].args[3].text, "#0");
  EXPECT_EQ(lines[2].args.size(), 2u);  // "#x" starts a comment
}

TEST(ScenarioLexer, HeredocsTakeFollowingLinesEachEndedByNewline) {
  const auto lines = Lex("write a.ini <<END\n[x]\n  key = \"1\" # kept\n\nEND\nframes 1\r\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].args[2].text, "[x]\n  key = \"1\" # kept\n\n");
  EXPECT_TRUE(lines[0].args[2].quoted);
  EXPECT_EQ(lines[1].number, 6);
  EXPECT_EQ(lines[1].args[1].text, "1");  // CR LF read as a line end
  const auto two = Lex("x <<A <<B\n1\nA\n2\nB\n");
  ASSERT_EQ(two.size(), 1u);
  EXPECT_EQ(two[0].args[1].text, "1\n");
  EXPECT_EQ(two[0].args[2].text, "2\n");
  EXPECT_EQ(Lex("write a <<E\nE\n")[0].args[2].text, "");
}

TEST(ScenarioLexer, MalformedTextIsAnErrorOnItsLine) {
  EXPECT_EQ(ErrorOf("frames 1\nwrite a \"open\n").first, 2);
  EXPECT_EQ(ErrorOf("\n\nwrite a \"bad \\q\"\n").first, 3);
  EXPECT_EQ(ErrorOf("write a \"x\"y\n").first, 1);
  EXPECT_EQ(ErrorOf("write a b\"c\"\n").first, 1);
  EXPECT_EQ(ErrorOf("click W \"B\"#0\n").first, 1);
  const auto [line, message] = ErrorOf("frames 1\nwrite a <<EOF\nline\nEOF \n");
  EXPECT_EQ(line, 2);  // "EOF " is not the closing line
  EXPECT_NE(message.find("EOF"), std::string::npos);
}

TEST(ScenarioParser, ReadsDirectivesIntoTheirParts) {
  const auto d = Parse(
      "set sim/a[3] 1.5\n"
      "set sim/arr 1,2,-3e2\n"
      "expect sim/b -0.25 ~0.01\n"
      "command hold sim/general/up 7\n"
      "key numpad5 shift+control\n"
      "click \"Talvenor v1.70\" @12,-30\n"
      "tracker frame roll=1.5 number=7\n"
      "tracker version 504\n"
      "disk-full\n"
      "disk-full off\n"
      "disk-full 0x10\n"
      "expect message sig 2 0x01000000 \"text\"\n"
      "expect hotkey F1 \"Talvenor: recentre\"\n"
      "expect menu Plugins items 3\n"
      "expect menu Plugins items enabled\n"
      "expect file out.bin bytes 0a \"ff 00\"\n"
      "key hold F1 alt 3\n");
  ASSERT_EQ(d.size(), 17u);
  EXPECT_EQ(d[0].keyword(), "set");
  EXPECT_EQ(d[0].as<SetValues>().ref.name, "sim/a");
  EXPECT_EQ(d[0].as<SetValues>().ref.index, 3);
  EXPECT_EQ(d[0].as<SetValues>().values, std::vector<double>{1.5});
  EXPECT_EQ(d[1].as<SetValues>().values, (std::vector<double>{1, 2, -300}));
  EXPECT_EQ(d[2].keyword(), "expect");
  EXPECT_DOUBLE_EQ(d[2].as<ValueExpect>().value, -0.25);
  EXPECT_DOUBLE_EQ(*d[2].as<ValueExpect>().tolerance, 0.01);
  EXPECT_EQ(d[3].keyword(), "command hold");
  EXPECT_EQ(d[3].as<CommandHold>().cycles, 7);
  EXPECT_EQ(d[4].as<KeyPress>().key, 101);
  EXPECT_EQ(d[4].as<KeyPress>().modifiers, 5);
  EXPECT_TRUE(d[5].as<WidgetTarget>().widget.byOffset);
  EXPECT_EQ(d[5].as<WidgetTarget>().widget.dl, 12);
  EXPECT_EQ(d[5].as<WidgetTarget>().widget.dt, -30);
  EXPECT_EQ(d[5].as<WidgetTarget>().window, "Talvenor v1.70");
  EXPECT_DOUBLE_EQ(*d[6].as<TrackerFields>().roll, 1.5);
  EXPECT_EQ(d[6].as<TrackerFields>().number, 7);
  EXPECT_FALSE(d[6].as<TrackerFields>().pitch);
  EXPECT_EQ(d[7].as<TrackerVersion>().version, 0x504);
  EXPECT_EQ(d[8].as<DiskFull>().bytes, 0u);
  EXPECT_FALSE(d[9].as<DiskFull>().bytes);
  EXPECT_EQ(d[10].as<DiskFull>().bytes, 16u);
  EXPECT_EQ(d[11].as<MessageExpect>().number, 0x01000000);
  EXPECT_EQ(d[11].as<MessageExpect>().text, "text");
  EXPECT_EQ(d[12].as<HotkeyExpect>().key, 112);
  EXPECT_EQ(d[12].as<HotkeyExpect>().flags, 0);
  EXPECT_EQ(d[12].as<HotkeyExpect>().description, "Talvenor: recentre");
  EXPECT_EQ(d[13].keyword(), "expect menu _ items");
  EXPECT_EQ(d[14].keyword(), "expect menu _ _ enabled|disabled|absent");  // an item called "items"
  EXPECT_EQ(d[14].as<MenuItemExpect>().item, "items");
  EXPECT_EQ(d[15].as<FileText>().text, std::string("\x0a\xff\x00", 3));
  EXPECT_EQ(d[16].keyword(), "key hold");
  EXPECT_EQ(d[16].as<KeyPress>().key, 112);
  EXPECT_EQ(d[16].as<KeyPress>().modifiers, 2);
  EXPECT_EQ(d[16].as<KeyPress>().cycles, 3);
}

TEST(ScenarioParser, AKindWordAndItsLabelNameOneWidget) {
  const auto d = Parse("type W field \"Size\" 0.5\nexpect widget W box \"3\"#2 state 1\ntype W field done\n");
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0].as<WidgetText>().widget.kind, WidgetKind::Field);
  EXPECT_EQ(d[0].as<WidgetText>().text, "0.5");
  EXPECT_EQ(d[1].as<WidgetStateExpect>().widget.written, "box \"3\"#2");
  EXPECT_EQ(d[1].as<WidgetStateExpect>().widget.ordinal, 2);
  EXPECT_EQ(d[1].as<WidgetStateExpect>().state, 1);
  EXPECT_EQ(d[2].as<WidgetText>().widget.caption, "field");  // without a quoted label the word is a caption
  EXPECT_EQ(ErrorOf("click W field \"Size\" extra\n").first, 1);
}

TEST(ScenarioParser, RejectsBadFormsNamingTheLine) {
  const std::pair<const char*, const char*> cases[] = {
      {"jump 3", "unknown directive"},
      {"frames", "wrong number of arguments"},
      {"frames 1 2", "wrong number of arguments"},
      {"frames 1.5", "whole number"},
      {"frames -1", "at least 0"},
      {"fps 0", "from 1"},
      {"seconds 0,5", "decimal point"},
      {"seconds -1", "from 0"},
      {"set sim/a 1,x", "a value must be a number"},
      {"set sim/a[1] 1,2", "whole array"},
      {"set sim/a[x] 1", "element index must be a whole number"},
      {"set sim/a]x[ 1", "NAME[INDEX]"},
      {"expect sim/a 1 0.1", "~TOL"},
      {"expect sim/a 1 ~-1", "negative"},
      {"expect sim/a", "wrong number of arguments"},
      {"key F25", "unknown key"},
      {"key F1 META", "unknown modifiers"},
      {"key F1 SHIFT+DOWN", "SHIFT, ALT and CONTROL only"},
      {"key hold F1 UP 2", "SHIFT, ALT and CONTROL only"},
      {"key hold F1", "key hold KEY [MODS] N"},
      {"command press x", "expected one of begin, end, once, hold"},
      {"command hold x", "command hold NAME N"},
      {"only macos", "linux, windows"},
      {"tracker frame yaw=1", "unknown tracker frame field"},
      {"tracker frame number=70000", "65535"},
      {"tracker version 0xZZ", "hexadecimal"},
      {"write-bytes f 0g", "hexadecimal pairs"},
      {"write-bytes f abc", "hexadecimal pairs"},
      {"expect window W shown", "visible, hidden, absent"},
      {"expect widget W B colour red", "text, state, visible, hidden"},
      {"expect widget W B text", "expect widget WINDOW WIDGET text TEXT"},
      {"expect file f size", "expect file PATH size N"},
      {"expect log has x", "contains, lacks, equals"},
      {"click W @1", "@DL,DT"},
      {"print \"x\"#2", "only names a widget"},
      {"render shot.png", "FILE.svg"},
      {"render a.svg W extra", "render FILE.svg [WINDOW]"},
      {"say \"x {sim/a:12}\"", "{DATAREF:DECIMALS}"},
      {"say \"x {sim/a\"", "{DATAREF}"},
      {"step", "step TITLE"},
      {"start now", "wrong number of arguments"},
  };
  for (const auto& [text, expected] : cases) {
    const auto [line, message] = ErrorOf(std::string("frames 1\n# note\n") + text + "\n");
    EXPECT_EQ(line, 3) << text;
    EXPECT_NE(message.find(expected), std::string::npos) << text << " gave: " << message;
  }
}

// The guide shows each directive as its usage reads (a table cell escapes "|"), and the usage begins with the
// words the directive is known by.
TEST(ScenarioParser, TheGuideShowsEveryDirectiveByItsUsage) {
  std::ifstream in(TALVENOR_SOURCE_DIR "/docs/scenario-language.md", std::ios::binary);
  ASSERT_TRUE(in) << "cannot read docs/scenario-language.md";
  const std::string guide{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_GT(Directives().size(), 70u);
  for (const DirectiveType* type : Directives()) {
    const std::string usage(type->usage);
    std::string cell = usage;
    for (std::size_t at = cell.find('|'); at != std::string::npos; at = cell.find('|', at + 2))
      cell.insert(at, "\\");
    EXPECT_TRUE(guide.find("`" + usage + "`") != std::string::npos ||
                guide.find("`" + cell + "`") != std::string::npos)
        << usage;
    std::istringstream keyword{std::string(type->keyword)}, written(usage);
    for (std::string word, shown; keyword >> word;) {
      written >> shown;
      EXPECT_TRUE(word == "_" ? !shown.empty() && std::isupper(static_cast<unsigned char>(shown[0]))
                              : word == shown)
          << type->keyword << " against " << usage;
    }
  }
}

TEST(ScenarioValues, NumbersUseThePointWhateverTheLocale) {
  // A German locale writes 1,5; the scenario language keeps 1.5 in every locale.
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale previousGlobal = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  EXPECT_EQ(ParseDecimal("1.5"), 1.5);
  EXPECT_EQ(ParseDecimal("-2.25e1"), -22.5);
  EXPECT_EQ(ParseDecimal("+.5"), 0.5);
  EXPECT_FALSE(ParseDecimal("1,5"));
  EXPECT_EQ(FormatDouble(0.1), "0.1");
  EXPECT_EQ(FormatFloat(0.1f), "0.1");
  const auto d = Parse("seconds 2.5\nexpect a/b 0.125 ~0.5\n");
  EXPECT_EQ(d[0].as<Seconds>().seconds, 2.5);
  EXPECT_EQ(d[1].as<ValueExpect>().value, 0.125);
  if (german) {
    EXPECT_EQ(ParseDecimal("3.75"), 3.75);
  } else {
    std::cout << "[ note ] no de_DE.UTF-8 locale here; checked under a comma numpunct only\n";
  }
  std::locale::global(previousGlobal);
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(ScenarioValues, TextsThatAreNotNumbers) {
  for (const char* text : {"", "+", "1.5x", " 1", "1 ", "++1", "0x10", "1e"}) {
    EXPECT_FALSE(ParseDecimal(text)) << text;
  }
  EXPECT_TRUE(std::isnan(*ParseDecimal("nan")));
  EXPECT_EQ(ParseInteger("0x1F"), 31);
  EXPECT_EQ(ParseInteger("-12"), -12);
  for (const char* text : {"", "1.0", "0x", "--1", "99999999999999999999", "1e3"}) {
    EXPECT_FALSE(ParseInteger(text)) << text;
  }
  EXPECT_EQ(ParseHexBytes("00 Ff\t7a"), std::string("\x00\xff\x7a", 3));
  EXPECT_EQ(HexBytes(std::string("\x00\xff\x7a", 3)), "00 ff 7a");
}

TEST(ScenarioValues, ComparisonsFollowTheDataRefType) {
  // A float dataref holding 0.1f equals "0.1" as a float, not as a double.
  const double stored = static_cast<double>(0.1f);
  EXPECT_TRUE(CompareValue(ValueType::Float, stored, 0.1, std::nullopt).holds);
  EXPECT_FALSE(CompareValue(ValueType::Double, stored, 0.1, std::nullopt).holds);
  EXPECT_EQ(CompareValue(ValueType::Float, stored, 0.1, std::nullopt).found, "0.1");
  // The next float up is another value.
  const double next = static_cast<double>(std::nextafter(0.1f, 1.0f));
  EXPECT_FALSE(CompareValue(ValueType::Float, next, 0.1, std::nullopt).holds);
  EXPECT_TRUE(CompareValue(ValueType::Float, next, 0.1, 1e-6).holds);
  // Ints compare exactly.
  EXPECT_TRUE(CompareValue(ValueType::Int, 1026, 1026, std::nullopt).holds);
  EXPECT_FALSE(CompareValue(ValueType::Int, 1026, 1026.5, std::nullopt).holds);
  // A tolerance bound holds inclusively for the floats nearest the decimals.
  EXPECT_TRUE(CompareValue(ValueType::Float, static_cast<double>(0.4f), 0.3, 0.1).holds);
  EXPECT_FALSE(CompareValue(ValueType::Float, static_cast<double>(0.41f), 0.3, 0.1).holds);
  EXPECT_TRUE(CompareValue(ValueType::Double, 1.0, 1.0, 0.0).holds);
  // NaN never holds, whichever side it is on.
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(CompareValue(ValueType::Float, nan, nan, std::nullopt).holds);
  EXPECT_FALSE(CompareValue(ValueType::Double, 1, nan, 10.0).holds);
  EXPECT_FALSE(CompareValue(ValueType::Float, nan, 0, 1e9).holds);
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(CompareValue(ValueType::Float, inf, inf, 0.1).holds);
}

TEST(ScenarioKeys, NamesCodesAndModifiers) {
  EXPECT_EQ(KeyCode("back"), 8);
  EXPECT_EQ(KeyCode("ESCAPE"), 27);
  EXPECT_EQ(KeyCode("SPACE"), 32);
  EXPECT_EQ(KeyCode("Down"), 40);
  EXPECT_EQ(KeyCode("HELP"), 47);
  EXPECT_EQ(KeyCode("7"), 55);
  EXPECT_EQ(KeyCode("z"), 90);
  EXPECT_EQ(KeyCode("NUMPAD0"), 96);
  EXPECT_EQ(KeyCode("DIVIDE"), 111);
  EXPECT_EQ(KeyCode("F24"), 135);
  EXPECT_EQ(KeyCode("EQUAL"), 176);
  EXPECT_EQ(KeyCode("NUMPAD_EQ"), 189);
  EXPECT_FALSE(KeyCode("F0"));
  EXPECT_FALSE(KeyCode(""));
  EXPECT_EQ(KeyFlags("shift+Alt+CONTROL+down+up"), 31);
  EXPECT_FALSE(KeyFlags("SHIFT+"));
  EXPECT_FALSE(KeyFlags("CTRL"));
  EXPECT_EQ(KeyName(101), "NUMPAD5");
  EXPECT_EQ(FlagNames(5), "SHIFT+CONTROL");
}

TEST(ScenarioTotals, ClosingLineAndExitCode) {
  RunTotals totals;
  EXPECT_EQ(ClosingLine(totals), "0 passed, 0 failed");
  EXPECT_EQ(ExitCode(totals), 0);
  totals.passed = 3;
  totals.skipped = 2;
  EXPECT_EQ(ClosingLine(totals), "3 passed, 0 failed, 2 skipped");
  EXPECT_EQ(ExitCode(totals), 0);
  totals.failed = 1;
  EXPECT_EQ(ExitCode(totals), 1);
  totals.errors = 1;
  EXPECT_EQ(ExitCode(totals), 2);
}

}  // namespace
}  // namespace sim::scenario
