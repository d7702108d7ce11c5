// The host's datarefs and commands held against xplane12-facts.md, the simulator's own lists as the team
// keeps them, so that the host and the notes cannot drift apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "XPLMDataAccess.h"
#include "XPLMUtilities.h"
#include "commands.h"
#include "datarefs.h"
#include "host.h"

namespace sim {
namespace {

// The cells of every table row whose first cell is a `name`, with the backticks removed.
std::vector<std::vector<std::string>> TableRows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("| `", 0) != 0) continue;
    std::vector<std::string> cells;
    std::istringstream parts(line.substr(1));
    for (std::string cell; std::getline(parts, cell, '|');) {
      cell.erase(std::remove(cell.begin(), cell.end(), '`'), cell.end());
      cell.erase(std::remove(cell.begin(), cell.end(), '*'), cell.end());
      const auto first = cell.find_first_not_of(' ');
      cells.push_back(
          first == std::string::npos ? "" : cell.substr(first, cell.find_last_not_of(' ') - first + 1));
    }
    rows.push_back(cells);
  }
  return rows;
}

class FactsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream file(TALVENOR_FACTS_FILE);
    if (!file) GTEST_SKIP() << "no " << TALVENOR_FACTS_FILE;
    text_.assign(std::istreambuf_iterator<char>(file), {});
    for (auto& row : TableRows(text_))
      (row[0].rfind("sim/view/", 0) == 0 || row[0].rfind("sim/general/", 0) == 0 ? commands_ : datarefs_)
          .push_back(row);
  }
  std::string text_;
  std::vector<std::vector<std::string>> datarefs_;  // name, type, writable, unit
  std::vector<std::vector<std::string>> commands_;  // name, description[, view type]
};

TEST_F(FactsTest, DataRefsHaveTheSimulatorsTypesSizesAndWritability) {
  Host host;
  ASSERT_GE(datarefs_.size(), 20u);
  std::set<std::string> named;
  const std::regex form(R"((int|float)(\[(\d+)\])?)");
  for (const auto& row : datarefs_) {
    SCOPED_TRACE(row[0]);
    named.insert(row[0]);
    std::smatch type;
    ASSERT_TRUE(std::regex_match(row[1], type, form)) << row[1];
    const bool isFloat = type[1] == "float";
    const XPLMDataRef ref = XPLMFindDataRef(row[0].c_str());
    ASSERT_NE(ref, nullptr);
    if (type[2].matched) {
      EXPECT_EQ(XPLMGetDataRefTypes(ref), isFloat ? xplmType_FloatArray : xplmType_IntArray);
      EXPECT_EQ(host.datarefs().arraySize(row[0]), std::stoi(type[3]));
    } else {
      EXPECT_EQ(XPLMGetDataRefTypes(ref), isFloat ? xplmType_Float : xplmType_Int);
    }
    EXPECT_EQ(XPLMCanWriteDataRef(ref), row[2] == "yes" ? 1 : 0);
  }
  for (const std::string& name : DataRefs::builtinNames()) EXPECT_EQ(named.count(name), 1u) << name;
  // The older simulator differs in the view type alone.
  host.setSimulator(Simulator::Older);
  EXPECT_EQ(XPLMCanWriteDataRef(XPLMFindDataRef("sim/graphics/view/view_type")), 1);
}

TEST_F(FactsTest, CommandsAreTheSimulatorsWithTheirDescriptionsAndViewTypes) {
  Host host;
  ASSERT_EQ(commands_.size(), 14u);
  std::set<std::string> named;
  for (const auto& row : commands_) {
    SCOPED_TRACE(row[0]);
    named.insert(row[0]);
    ASSERT_NE(XPLMFindCommand(row[0].c_str()), nullptr);
    EXPECT_EQ(host.commands().description(row[0]), row[1]);
    if (row.size() > 2 && !row[2].empty()) {
      host.datarefs().write("sim/graphics/view/view_type", 0);
      XPLMCommandOnce(XPLMFindCommand(row[0].c_str()));
      EXPECT_EQ(host.datarefs().read("sim/graphics/view/view_type")->value, std::stoi(row[2]));
    }
  }
  const std::vector<std::string> pans = {"sim/view/pan_up", "sim/view/pan_down", "sim/view/pan_left",
                                         "sim/view/pan_right"};
  EXPECT_NE(text_.find("`sim/view/pan_up`, `pan_down`, `pan_left` and `pan_right` do not exist"),
            std::string::npos);
  for (const std::string& name : Commands::builtinNames()) {
    const bool pan = std::find(pans.begin(), pans.end(), name) != pans.end();
    EXPECT_EQ(named.count(name), pan ? 0u : 1u) << name;
    EXPECT_EQ(host.commands().exists(name), !pan) << name;
  }
  host.setSimulator(Simulator::Older);
  for (const std::string& name : pans) EXPECT_NE(XPLMFindCommand(name.c_str()), nullptr) << name;
}

}  // namespace
}  // namespace sim
