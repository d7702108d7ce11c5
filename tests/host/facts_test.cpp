// The host's datarefs and commands held against xplane12-facts.md, the simulator's own lists as the team
// keeps them, so that the host and the notes cannot drift apart.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "XPLMDataAccess.h"
#include "XPLMUtilities.h"
#include "commands.h"
#include "datarefs.h"
#include "host.h"
#include "host_test_support.h"

namespace sim {
namespace {

using Row = std::vector<std::string>;

class FactsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream file(TALVENOR_FACTS_FILE);
    if (!file && TALVENOR_WITHOUT_FACTS) GTEST_SKIP() << "no " << TALVENOR_FACTS_FILE;
    ASSERT_TRUE(file.is_open()) << "no " << TALVENOR_FACTS_FILE
                                << " (-DTALVENOR_WITHOUT_FACTS=ON skips these tests)";
    text_.assign(std::istreambuf_iterator<char>(file), {});
    // Table rows whose first cell is a `name`; the cells without backticks, bold marks and blanks.
    const std::regex row(R"(\n\| `([^`]+)` \|([^\n]*))"), cell(R"(\s*\**([^|*]*?)\**\s*\|)");
    for (auto r = std::sregex_iterator(text_.begin(), text_.end(), row); r != std::sregex_iterator(); ++r) {
      Row cells{(*r)[1]};
      const std::string rest = (*r)[2];
      for (auto c = std::sregex_iterator(rest.begin(), rest.end(), cell); c != std::sregex_iterator(); ++c)
        cells.push_back((*c)[1]);
      const bool command = cells[0].rfind("sim/view/", 0) == 0 || cells[0].rfind("sim/general/", 0) == 0;
      (command ? commands_ : datarefs_).push_back(cells);
    }
  }
  Host host_;
  std::string text_;
  std::vector<Row> datarefs_;  // name, type, writable, unit
  std::vector<Row> commands_;  // name, description[, view type]
};

TEST_F(FactsTest, DataRefsHaveTheSimulatorsTypesSizesAndWritability) {
  ASSERT_GE(datarefs_.size(), 20u);
  std::set<std::string> named;
  for (const Row& row : datarefs_) {
    SCOPED_TRACE(row[0]);
    named.insert(row[0]);
    std::smatch type;
    ASSERT_TRUE(std::regex_match(row[1], type, std::regex(R"((int|float)(\[(\d+)\])?)")));
    const bool isFloat = type[1] == "float", isArray = type[2].matched;
    const XPLMDataRef ref = XPLMFindDataRef(row[0].c_str());
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(XPLMGetDataRefTypes(ref), isArray ? (isFloat ? xplmType_FloatArray : xplmType_IntArray)
                                                : (isFloat ? xplmType_Float : xplmType_Int));
    EXPECT_EQ(host_.datarefs().arraySize(row[0]), isArray ? std::stoi(type[3]) : 0);
    EXPECT_EQ(XPLMCanWriteDataRef(ref), row[2] == "yes" ? 1 : 0);
  }
  for (const std::string& name : DataRefs::builtinNames()) EXPECT_EQ(named.count(name), 1u) << name;
  host_.setSimulator(Simulator::Older);  // which differs in the view type's writability alone
  EXPECT_EQ(XPLMCanWriteDataRef(XPLMFindDataRef(test::kViewType)), 1);
}

TEST_F(FactsTest, CommandsAreTheSimulatorsWithTheirDescriptionsAndViewTypes) {
  ASSERT_EQ(commands_.size(), 14u);
  std::set<std::string> named;
  for (const Row& row : commands_) {
    SCOPED_TRACE(row[0]);
    named.insert(row[0]);
    ASSERT_NE(XPLMFindCommand(row[0].c_str()), nullptr);
    EXPECT_EQ(host_.commands().description(row[0]), row[1]);
    if (row.size() < 3 || row[2].empty()) continue;
    host_.datarefs().write(test::kViewType, 0);
    XPLMCommandOnce(XPLMFindCommand(row[0].c_str()));
    EXPECT_EQ(host_.datarefs().read(test::kViewType)->value, std::stoi(row[2]));
  }
  // The pan commands belong to older simulators only.
  ASSERT_NE(text_.find("`sim/view/pan_up`, `pan_down`, `pan_left` and `pan_right` do not exist"),
            std::string::npos);
  for (const std::string& name : Commands::builtinNames()) {
    const bool pan = name.rfind("sim/view/pan_", 0) == 0;
    EXPECT_EQ(named.count(name), pan ? 0u : 1u) << name;
    EXPECT_EQ(host_.commands().exists(name), !pan) << name;
    host_.setSimulator(Simulator::Older);
    EXPECT_TRUE(host_.commands().exists(name)) << name;
    host_.setSimulator(Simulator::XPlane12);
  }
}

}  // namespace
}  // namespace sim
