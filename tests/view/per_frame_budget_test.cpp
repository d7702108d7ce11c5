// The per-frame update allocates nothing and opens no file, in every configuration it runs in.
//
// This test program's operator new and delete count, while counting is switched on, the allocations whose
// nearest caller outside the C and C++ runtimes is code of this program (the plugin is linked into it) and
// not code of the simulated host's library: the host's own work (dispatching widget messages, keeping
// descriptors) is not the plugin's. File opens are counted by the host's interposed file functions while
// plugin code runs. With TALVENOR_BUDGET_TRACE set, the first allocations counted print their call stack.
#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "XPLMProcessing.h"
#include "commands.h"
#include "tracker_script.h"
#include "ui/control_panel_fixture.h"

namespace {

struct CodeRange {
  std::uintptr_t begin = 0, end = 0;
};
constexpr int kMaxRanges = 16;
struct Ranges {
  CodeRange program[kMaxRanges];
  CodeRange host[kMaxRanges];
  int programCount = 0, hostCount = 0;
};
Ranges g_ranges;
std::atomic<bool> g_counting{false};
std::atomic<long> g_allocations{0};
thread_local bool t_inside = false;

int CollectRange(dl_phdr_info* info, std::size_t, void* data) {
  auto* ranges = static_cast<Ranges*>(data);
  const bool program = info->dlpi_name == nullptr || info->dlpi_name[0] == '\0';
  // The host's library and the substitute tracker library it lays out are the simulator's side.
  const bool host = !program && (std::strstr(info->dlpi_name, "talvenor_xplm") != nullptr ||
                                 std::strstr(info->dlpi_name, "NPClient64") != nullptr);
  if (!program && !host) return 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const ElfW(Phdr)& header = info->dlpi_phdr[i];
    if (header.p_type != PT_LOAD || (header.p_flags & PF_X) == 0) continue;
    CodeRange range{info->dlpi_addr + header.p_vaddr, info->dlpi_addr + header.p_vaddr + header.p_memsz};
    if (program && ranges->programCount < kMaxRanges) ranges->program[ranges->programCount++] = range;
    if (host && ranges->hostCount < kMaxRanges) ranges->host[ranges->hostCount++] = range;
  }
  return 0;
}

bool In(const CodeRange* ranges, int count, std::uintptr_t address) {
  for (int i = 0; i < count; ++i) {
    if (address >= ranges[i].begin && address < ranges[i].end) return true;
  }
  return false;
}

// The standard library's templates are instantiated into this program, and a library's calls of them may
// land here: like the runtimes, they are passed over to find whose code asked.
bool StandardLibraryCode(void* address) {
  Dl_info symbol{};
  if (dladdr(address, &symbol) == 0 || symbol.dli_sname == nullptr) return false;
  for (const char* prefix : {"_ZNSt", "_ZSt", "_ZNKSt", "_ZN9__gnu_cxx"}) {
    if (std::strncmp(symbol.dli_sname, prefix, std::strlen(prefix)) == 0) return true;
  }
  return false;
}

// Is the code that asked for this allocation (CALLER: the return address of operator new) code of this
// program rather than of the host's library? Frames of the C and C++ runtimes are passed over.
bool ProgramAllocation(void* caller) {
  void* frames[64];
  const int depth = backtrace(frames, 64);
  int first = 0;
  while (first < depth && frames[first] != caller) ++first;
  if (first == depth) return true;
  for (int i = first; i < depth; ++i) {
    const auto address = reinterpret_cast<std::uintptr_t>(frames[i]);
    if (In(g_ranges.host, g_ranges.hostCount, address)) return false;
    if (In(g_ranges.program, g_ranges.programCount, address) && !StandardLibraryCode(frames[i])) return true;
  }
  return true;
}

void Count(void* caller) {
  if (!g_counting.load(std::memory_order_relaxed) || t_inside) return;
  t_inside = true;
  if (ProgramAllocation(caller)) {
    if (g_allocations.fetch_add(1, std::memory_order_relaxed) < 2 && std::getenv("TALVENOR_BUDGET_TRACE")) {
      void* frames[64];
      backtrace_symbols_fd(frames, backtrace(frames, 64), 2);
      std::fprintf(stderr, "----\n");
    }
  }
  t_inside = false;
}

void* Allocate(std::size_t size, void* caller) {
  Count(caller);
  void* memory = std::malloc(size != 0 ? size : 1);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void* AllocateOrNull(std::size_t size, void* caller) noexcept {
  Count(caller);
  return std::malloc(size != 0 ? size : 1);
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment, void* caller) {
  Count(caller);
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = (size + align - 1) / align * align;
  void* memory = std::aligned_alloc(align, rounded != 0 ? rounded : align);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

}  // namespace

// Never inlined: the return address must be that of the code asking for memory, also in optimised builds.
#define TALVENOR_CALLER __builtin_extract_return_addr(__builtin_return_address(0))
[[gnu::noinline]] void* operator new(std::size_t size) {
  return Allocate(size, TALVENOR_CALLER);
}
[[gnu::noinline]] void* operator new[](std::size_t size) {
  return Allocate(size, TALVENOR_CALLER);
}
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, TALVENOR_CALLER);
}
[[gnu::noinline]] void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrNull(size, TALVENOR_CALLER);
}
[[gnu::noinline]] void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment, TALVENOR_CALLER);
}
[[gnu::noinline]] void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateAligned(size, alignment, TALVENOR_CALLER);
}
#undef TALVENOR_CALLER
[[gnu::noinline]] void operator delete(void* memory) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory, std::size_t) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory, const std::nothrow_t&) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::align_val_t) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory, std::align_val_t) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
  std::free(memory);
}
[[gnu::noinline]] void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
  std::free(memory);
}

namespace talvenor::testing {
namespace {

constexpr long kFrames = 500;

struct Budget {
  long allocations = 0;
  std::uint64_t opens = 0;
};

class PerFrameBudgetTest : public ControlPanelTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    if (g_ranges.programCount == 0) dl_iterate_phdr(&CollectRange, &g_ranges);
    ASSERT_GT(g_ranges.programCount, 0);
    ASSERT_GT(g_ranges.hostCount, 0);
    void* warm[4];
    backtrace(warm, 4);  // the first call loads the unwinder, which allocates
  }

  // Runs frames with counting on; the frames run through the host, as X-Plane runs them. With
  // newTrackerFrames the tracker delivers a new pose before each one.
  Budget Measure(long frames = kFrames, bool newTrackerFrames = false) {
    g_ranges = Ranges{};  // again: the plugin may have loaded the tracker library since
    dl_iterate_phdr(&CollectRange, &g_ranges);
    const std::uint64_t opensBefore = host().fileFaults().opens();
    g_allocations = 0;
    g_counting = true;
    for (long frame = 0; frame < frames; ++frame) {
      if (newTrackerFrames) {
        sim::TrackerFrame pose;
        pose.number = static_cast<std::uint16_t>(frame + 1);
        pose.x = static_cast<float>(frame % 50) * 40.0f;
        pose.heading = static_cast<float>(frame % 70) * -25.0f;
        host().tracker().setFrame(pose);
      }
      host().runCycles(1);
    }
    g_counting = false;
    return {g_allocations.load(), host().fileFaults().opens() - opensBefore};
  }

  void ExpectNothing(const char* configuration) {
    const Budget budget = Measure();
    EXPECT_EQ(budget.allocations, 0) << configuration;
    EXPECT_EQ(budget.opens, 0u) << configuration;
  }

  void ForcesAct(bool onGround) {
    Set("sim/flightmodel/position/groundspeed", 60.0);
    Set("sim/flightmodel/forces/g_nrml", 1.4);
    Set("sim/flightmodel/forces/g_side", 0.1);
    Set("sim/flightmodel/forces/g_axil", 0.2);
    Set("sim/flightmodel/failures/onground_any", onGround ? 1 : 0);
    Set("sim/flightmodel/position/y_agl", onGround ? 0.0 : 150.0);
    ASSERT_TRUE(host().datarefs().write("sim/flightmodel/engine/ENGN_N1_", 85.0, 0));
  }

  // Every configuration the per-frame update knows, one after the other, with every window there.
  void RunEveryConfiguration() {
    OpenFromMenu();
    OpenDataDisplayAsPlugin();
    OpenEffectsPanelAsPlugin();
    ViewState& view = View();
    host().runCycles(6);
    ExpectNothing("view control off");

    ASSERT_TRUE(host().menus().pick("Talvenor", "Enable"));
    view.presets[0] = ViewPreset{1, {0.1f, 1.2f, -3.8f, 2.0f, 5.0f, 1.0f}};
    ExpectNothing("view control on, step mode");

    Check(ContinuousBox(), true);
    view.continuousRates = HeadPose{0.0001f, -0.0001f, 0.0001f, 0.01f, 0.01f, 0.01f};
    ExpectNothing("continuous mode");
    Check(LimitsEnableBox(), true);
    view.limits[0] = ViewLimits{1, -1.0f, 1.0f, 0.5f, 2.0f, -5.0f, -3.0f};
    ExpectNothing("continuous mode within limits");

    view.trackerActive = true;
    view.sourceAvailable = 1;
    view.trackerOffsets = HeadPose{0.01f, 0.02f, 0.03f, 1.0f, 2.0f, 3.0f};
    for (int axis = 0; axis < 6; ++axis) Check(AxisBox(axis), true);
    ExpectNothing("continuous mode, tracking, limits");
    Check(ContinuousBox(), false);
    ExpectNothing("tracking, limits");
    Check(LimitsEnableBox(), false);
    ExpectNothing("tracking");

    view.effects.effectsOn = 1;
    ForcesAct(true);
    ExpectNothing("tracking, effects on the ground");
    ForcesAct(false);
    ExpectNothing("tracking, effects in flight");
    Check(LimitsEnableBox(), true);
    ExpectNothing("tracking, effects, limits");
    view.trackerActive = false;
    ExpectNothing("effects without tracking");
    Check(ContinuousBox(), true);
    ExpectNothing("continuous mode and effects");
    view.presetsChanged = true;
    view.limitsChanged = true;
    ExpectNothing("change indicators");

    Set(kViewType, 1017);
    ExpectNothing("leaving the 3-D cockpit, then view control off");
  }
};

// The configurations the benchmarks and the instruction budget measure (bench/frame_rig.h).
enum class Configuration { A, B, C, D };

class ConfigurationBudgetTest : public PerFrameBudgetTest,
                                public ::testing::WithParamInterface<Configuration> {};

TEST_P(ConfigurationBudgetTest, NothingIsAllocatedOrOpened) {
  const Configuration configuration = GetParam();
  std::string error;
  if (configuration == Configuration::C) {
    ASSERT_TRUE(host().tracker().installLibrary("Tracker", &error)) << error;
  }
  Start();
  RunUntilUpdating();
  if (configuration != Configuration::A) EnableFromMenu();
  if (configuration == Configuration::C) {
    ASSERT_TRUE(View().trackerActive);
    ASSERT_TRUE(host().commands().once("quorlend/talvenor/effects_toggle"));
    OpenDataDisplayAsPlugin();
    ForcesAct(false);
  }
  if (configuration == Configuration::D) {
    View().limits[0] = ViewLimits{1, -1.0f, 1.0f, 0.0f, 2.0f, -5.0f, -3.0f};
    OpenFromMenu();
    Check(ContinuousBox(), true);
    Check(LimitsEnableBox(), true);
    Click(" Hdg", 2);  // the heading moves every frame
    CloseBox();
  }
  Frame(2);  // the first frame of a new state shows it
  const HeadPose before = View().workingPose;
  const Budget budget = Measure(kFrames, configuration == Configuration::C);
  EXPECT_EQ(budget.allocations, 0);
  EXPECT_EQ(budget.opens, 0u);
  // The frames did the configuration's work: in C the tracker moved the head, in D the heading moved on.
  if (configuration == Configuration::C) {
    EXPECT_NE(View().trackerOffsets.heading, 0.0f);
  }
  if (configuration == Configuration::D) {
    EXPECT_NE(View().workingPose.heading, before.heading);
  }
}

INSTANTIATE_TEST_SUITE_P(Configurations, ConfigurationBudgetTest,
                         ::testing::Values(Configuration::A, Configuration::B, Configuration::C,
                                           Configuration::D),
                         [](const auto& row) { return std::string(1, "ABCD"[static_cast<int>(row.param)]); });

TEST_F(PerFrameBudgetTest, TheCountersSeeWhatPluginCodeAllocatesAndOpens) {
  Start();
  // A flight-loop callback of this program stands in for plugin code that breaks the rules.
  const XPLMFlightLoop_f offender = [](float, float, int, void*) -> float {
    // The block escapes through a volatile, so an optimised build cannot drop the pair.
    static int* volatile escaped = nullptr;
    escaped = new int(1);
    delete escaped;
    if (std::FILE* file = std::fopen("/dev/null", "r")) std::fclose(file);
    return -1.0f;
  };
  XPLMRegisterFlightLoopCallback(offender, -1.0f, nullptr);
  const Budget budget = Measure(3);
  XPLMUnregisterFlightLoopCallback(offender, nullptr);
  EXPECT_GE(budget.allocations, 3);
  EXPECT_GE(budget.opens, 3u);
}

TEST_F(PerFrameBudgetTest, NothingIsAllocatedOrOpenedInHeadTrackerMode) {
  Start();
  RunEveryConfiguration();
}

TEST_F(PerFrameBudgetTest, NothingIsAllocatedOrOpenedInExternalDataMode) {
  WriteSetupFile("[CONFIG]\nENABLEEXTERNALDATA = 1\n");
  Start();
  externalValue_ = 1;
  host().runCycles(6);  // the change is logged: that frame opens the log, as it should
  RunEveryConfiguration();
}

}  // namespace
}  // namespace talvenor::testing
