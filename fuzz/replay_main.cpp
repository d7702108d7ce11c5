// Runs a fuzz target over saved inputs (files, or every file of a folder), for builds without libFuzzer. A
// target that runs its inputs in one session of the plugin runs them twice, the second time in reverse
// order, and each input must leave the same outcome both times: an input runs as if alone whatever ran
// before it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#ifdef TALVENOR_FUZZ_SESSION
#include "fuzz_support.h"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::optional<std::vector<char>> Read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
    return std::nullopt;
  }
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint64_t Run(const std::vector<char>& bytes) {
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
#ifdef TALVENOR_FUZZ_SESSION
  return fuzz::LastOutcome();
#else
  return 0;
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef TALVENOR_FUZZ_SESSION
  fuzz::RecordOutcomes();
#endif
  int failures = 0;
  int inputs = 0;
  std::vector<std::filesystem::path> all;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path argument = argv[i];
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(argument)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(argument)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
    } else {
      files.push_back(argument);
    }
    all.insert(all.end(), files.begin(), files.end());
  }
  std::vector<std::vector<char>> contents;
  std::vector<std::filesystem::path> names;
  std::vector<std::uint64_t> outcomes;
  for (const auto& file : all) {
    auto bytes = Read(file);
    ++inputs;
    if (!bytes) {
      ++failures;
      continue;
    }
    outcomes.push_back(Run(*bytes));
    contents.push_back(std::move(*bytes));
    names.push_back(file);
  }
  int differing = 0;
#ifdef TALVENOR_FUZZ_SESSION
  for (std::size_t i = contents.size(); i-- > 0;) {
    if (Run(contents[i]) == outcomes[i]) continue;
    std::fprintf(stderr, "%s left another outcome after other inputs had run\n", names[i].string().c_str());
    ++differing;
  }
#endif
  std::printf("%d inputs replayed, %d unreadable, %d with another outcome in reverse order\n", inputs,
              failures, differing);
  return inputs > 0 && failures == 0 && differing == 0 ? 0 : 1;
}
