// A simulator folder whose system path (the folder and a "/") has exactly the length a test asks for.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

#include "plugin_fixture.h"

namespace talvenor::testing {

class LongPathTest : public PluginTest {
 protected:
  LongPathTest() {
    const auto* unit = ::testing::UnitTest::GetInstance();
    base_ = std::filesystem::temp_directory_path() / ("talvenor-long-" + std::to_string(unit->random_seed()) +
                                                      "-" + unit->current_test_info()->name());
  }
  void TearDown() override {
    PluginTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(base_, ignored);
  }
  sim::HostOptions WithSystemPathLength(std::size_t length) const {
    std::string folder = base_.string();
    // Components of at most 200 characters, each after a "/".
    const std::size_t remaining = length - 1 - folder.size();
    const std::size_t parts = (remaining + 200) / 201;
    const std::size_t letters = remaining - parts;
    for (std::size_t i = 0; i < parts; ++i) {
      folder += '/';
      folder.append(letters / parts + (i < letters % parts ? 1 : 0), 'd');
    }
    return {.root = folder};
  }

 private:
  std::filesystem::path base_;
};

}  // namespace talvenor::testing
