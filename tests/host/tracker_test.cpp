// The substitute tracker client as the plugin meets it: found through the registry stand-in, loaded by path
// with the platform's loader, answering from the script.
#include "tracker_script.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The library as the plugin loads it: the folder from the registry value, then NPClient64.so in it.
class LoadedClient {
 public:
  LoadedClient() {
    const std::string folder = Slurp(sim::TrackerScript::RegistryValueFile());
    handle_ = dlopen((folder + "/NPClient64.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  }
  ~LoadedClient() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  LoadedClient(const LoadedClient&) = delete;
  LoadedClient& operator=(const LoadedClient&) = delete;

  bool loaded() const { return handle_ != nullptr; }
  template <typename Function>
  Function* find(const char* name) const {
    return reinterpret_cast<Function*>(dlsym(handle_, name));
  }

 private:
  void* handle_ = nullptr;
};

using GetData = int(void*);
using QueryVersion = int(unsigned short*);
using NoArguments = int();

TEST(TrackerTest, InstallLaysOutTheLibraryAndTheRegistryValue) {
  sim::Host host;
  std::string error;
  ASSERT_TRUE(host.tracker().installLibrary("NaturalPoint/TrackIR5", &error)) << error;
  const fs::path folder = host.resolve("NaturalPoint/TrackIR5");
  EXPECT_TRUE(fs::is_regular_file(folder / "NPClient64.so"));
  const fs::path value = host.root() / "registry/HKEY_CURRENT_USER/Software/NaturalPoint/NATURALPOINT" /
                         "NPClient Location/Path";
  EXPECT_EQ(sim::RegistryRoot(), host.root() / "registry");
  EXPECT_EQ(Slurp(value), folder.string());  // no separator, no line end

  host.tracker().removeRegistryEntry();
  EXPECT_FALSE(fs::exists(value));
  EXPECT_TRUE(fs::exists(folder / "NPClient64.so"));
}

TEST(TrackerTest, EntryPointsAnswerFromTheScript) {
  sim::Host host;
  ASSERT_TRUE(host.tracker().installLibrary("Tracker", nullptr));
  LoadedClient client;
  ASSERT_TRUE(client.loaded()) << dlerror();
  for (const std::string& name : sim::TrackerScript::entryPoints()) {
    EXPECT_NE(client.find<void>(name.c_str()), nullptr) << name;
  }
  auto* getData = client.find<GetData>("NP_GetData");
  auto* queryVersion = client.find<QueryVersion>("NP_QueryVersion");
  auto* reCenter = client.find<NoArguments>("NP_ReCenter");
  ASSERT_TRUE(getData != nullptr && queryVersion != nullptr && reCenter != nullptr);

  sim::TrackerFrame frame;
  frame.status = 0;
  frame.number = 17;
  frame.roll = 1.5f;
  frame.pitch = -2.25f;
  frame.heading = 3000.0f;
  frame.x = -4.0f;
  frame.y = 5.0f;
  frame.z = 6.5f;
  frame.smoothZ = 9.0f;
  host.tracker().setFrame(frame);
  unsigned char buffer[80];
  std::memset(buffer, 0xAB, sizeof buffer);
  EXPECT_EQ(getData(buffer), 0);
  EXPECT_EQ(std::memcmp(buffer, &frame, sizeof buffer), 0);

  unsigned short version = 0;
  EXPECT_EQ(queryVersion(&version), 0);
  EXPECT_EQ(version, 0x0504);
  host.tracker().setVersion(0x0400);
  EXPECT_EQ(queryVersion(&version), 0);
  EXPECT_EQ(version, 0x0400);

  // A failing entry answers its result and delivers nothing.
  host.tracker().fail("NP_GetData", 3);
  host.tracker().fail("NP_QueryVersion", 1);
  host.tracker().fail("NP_ReCenter", 7);
  std::memset(buffer, 0xAB, sizeof buffer);
  EXPECT_EQ(getData(buffer), 3);
  EXPECT_EQ(buffer[0], 0xAB);
  EXPECT_EQ(buffer[79], 0xAB);
  version = 0;
  EXPECT_EQ(queryVersion(&version), 1);
  EXPECT_EQ(version, 0);
  EXPECT_EQ(reCenter(), 7);
  host.tracker().fail("NP_GetData", 0);
  EXPECT_EQ(getData(buffer), 0);

  const std::vector<std::string> expected{"NP_GetData", "NP_QueryVersion", "NP_QueryVersion",
                                          "NP_GetData", "NP_QueryVersion", "NP_ReCenter",
                                          "NP_GetData"};
  EXPECT_EQ(host.tracker().calls(), expected);
}

TEST(TrackerTest, MissingEntryIsAbsentFromTheLaidOutCopy) {
  sim::Host host;
  EXPECT_TRUE(host.tracker().setMissing("NP_StartCursor"));
  ASSERT_TRUE(host.tracker().installLibrary("First", nullptr));
  // Marked after the library was laid out: the copy is laid out again.
  EXPECT_TRUE(host.tracker().setMissing("NP_ReCenter"));
  std::string error;
  EXPECT_FALSE(host.tracker().setMissing("NP_Nonsense", &error));
  EXPECT_NE(error.find("NP_Nonsense"), std::string::npos);

  LoadedClient client;
  ASSERT_TRUE(client.loaded()) << dlerror();
  for (const std::string& name : sim::TrackerScript::entryPoints()) {
    const bool missing = name == "NP_StartCursor" || name == "NP_ReCenter";
    EXPECT_EQ(client.find<void>(name.c_str()) == nullptr, missing) << name;
  }
  auto* getData = client.find<GetData>("NP_GetData");
  ASSERT_NE(getData, nullptr);
  unsigned char buffer[80];
  EXPECT_EQ(getData(buffer), 0);
}

TEST(TrackerTest, WithoutAHostTheClientReportsFailure) {
  void* handle = nullptr;
  {
    sim::Host host;
    ASSERT_TRUE(host.tracker().installLibrary("Tracker", nullptr));
    handle = dlopen((host.resolve("Tracker") / "NPClient64.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
  }
  auto* getData = reinterpret_cast<GetData*>(dlsym(handle, "NP_GetData"));
  ASSERT_NE(getData, nullptr);
  unsigned char buffer[80] = {};
  EXPECT_NE(getData(buffer), 0);
  dlclose(handle);
}

TEST(TrackerTest, ElfPatchIsBoundsChecked) {
  std::vector<char> image;
  std::string error;
  EXPECT_TRUE(sim::HideElfExports(image, {}, &error));  // nothing to hide, nothing read
  EXPECT_FALSE(sim::HideElfExports(image, {"NP_GetData"}, &error));
  image.assign(64, '\0');
  std::memcpy(image.data(), "\177ELF\2\1\1", 7);
  EXPECT_FALSE(sim::HideElfExports(image, {"NP_GetData"}, &error));

  std::ifstream in(sim::HostLibraryFolder() / "libnpclient_sim.so", std::ios::binary);
  std::vector<char> library((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(library.size(), 64u);
  std::vector<char> copy = library;
  EXPECT_FALSE(sim::HideElfExports(copy, {"NP_NotThere"}, &error));
  EXPECT_NE(error.find("NP_NotThere"), std::string::npos);
  // The section table stands at the end: a truncated library is refused without reading past its end.
  for (std::size_t size : {std::size_t{64}, std::size_t{100}, library.size() / 2, library.size() - 1}) {
    std::vector<char> cut(library.begin(), library.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(sim::HideElfExports(cut, {"NP_GetData"}, &error)) << size;
  }
  copy = library;
  ASSERT_TRUE(sim::HideElfExports(copy, {"NP_GetData"}, &error)) << error;
  EXPECT_EQ(copy.size(), library.size());
  std::size_t changed = 0;
  for (std::size_t i = 0; i < copy.size(); ++i) changed += copy[i] != library[i] ? 1 : 0;
  EXPECT_EQ(changed, 1u);
}

}  // namespace
