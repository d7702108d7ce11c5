// Datarefs of the simulated host, through the C API (the test acts as the plugin under test) and the
// driver API.
#include "datarefs.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "XPLMDataAccess.h"
#include "host.h"
#include "host_test_support.h"

namespace sim {
namespace {

using test::kHeadHeading;
using test::kHeadX;
using test::kHeadY;
using test::kHeadZ;
using test::kViewType;
constexpr const char* kGNormal = "sim/flightmodel/forces/g_nrml";
constexpr const char* kN1 = "sim/flightmodel/engine/ENGN_N1_";
constexpr const char* kEngineType = "sim/aircraft/prop/acf_en_type";

// Names, types, sizes and writability are held against the simulator's own lists in facts_test.cpp.
TEST(DataRefBuiltins, HaveTheDocumentedStartValues) {
  Host host;
  const std::pair<const char*, double> table[] = {
      {kHeadX, -0.3},
      {kHeadY, 1.0},
      {kHeadZ, -4.0},
      {kHeadHeading, 0},
      {kViewType, 1026},
      {"sim/flightmodel/forces/g_nrml", 1.0},
      {"sim/flightmodel/failures/onground_any", 1},
      {"sim/operation/windows/system_window", 0x1234},
  };
  for (const auto& [name, start] : table)
    EXPECT_EQ(host.datarefs().read(name)->value, static_cast<float>(start)) << name;
  // The 64-bit window handle, low half first.
  std::array<int, 2> window{};
  EXPECT_EQ(XPLMGetDatavi(XPLMFindDataRef("sim/operation/windows/system_window_64"), window.data(), 0, 2), 2);
  EXPECT_EQ(window, (std::array<int, 2>{0x1234, 0x2}));
  EXPECT_EQ(XPLMFindDataRef("sim/graphics/view/pilots_head_w"), nullptr);
  EXPECT_EQ(XPLMFindDataRef(nullptr), nullptr);
}

TEST(DataRefBuiltins, TimeDatarefsFollowTheClock) {
  Host host;
  XPLMDataRef running = XPLMFindDataRef("sim/time/total_running_time_sec");
  XPLMDataRef period = XPLMFindDataRef("sim/time/framerate_period");
  host.runCycles(25);
  EXPECT_FLOAT_EQ(XPLMGetDataf(running), 0.5f);
  EXPECT_FLOAT_EQ(XPLMGetDataf(period), 0.02f);
  host.setFps(25);
  host.runCycles(5);
  EXPECT_FLOAT_EQ(XPLMGetDataf(running), 0.7f);
  EXPECT_FLOAT_EQ(XPLMGetDataf(period), 0.04f);
  // A write sets the running time, and it runs on from there; the frame period follows the rate alone.
  XPLMSetDataf(running, 100);
  host.runCycles(5);
  EXPECT_FLOAT_EQ(XPLMGetDataf(running), 100.2f);
  XPLMSetDataf(period, 1);
  EXPECT_FALSE(host.datarefs().write("sim/time/framerate_period", 1));
  EXPECT_FLOAT_EQ(XPLMGetDataf(period), 0.04f);
}

TEST(DataRefAccess, WrongTypeNullAndForeignHandlesReadZeroAndIgnoreWrites) {
  Host host;
  XPLMDataRef headX = XPLMFindDataRef(kHeadX);
  XPLMDataRef viewType = XPLMFindDataRef(kViewType);
  XPLMDataRef n1 = XPLMFindDataRef(kN1);
  EXPECT_EQ(XPLMGetDatai(headX), 0);
  EXPECT_EQ(XPLMGetDatad(headX), 0.0);  // a float dataref is not a double one
  EXPECT_EQ(XPLMGetDataf(viewType), 0.0f);
  EXPECT_EQ(XPLMGetDatavf(viewType, nullptr, 0, 0), 0);
  EXPECT_EQ(XPLMGetDatavi(n1, nullptr, 0, 0), 0);
  EXPECT_EQ(XPLMGetDataf(n1), 0.0f);
  XPLMSetDatai(headX, 7);
  XPLMSetDatad(headX, 7);
  XPLMSetDataf(viewType, 1000);
  EXPECT_EQ(XPLMGetDataf(headX), -0.3f);
  EXPECT_EQ(XPLMGetDatai(viewType), 1026);

  int local = 0;
  for (XPLMDataRef bad : {static_cast<XPLMDataRef>(nullptr), static_cast<XPLMDataRef>(&local)}) {
    EXPECT_EQ(XPLMIsDataRefGood(bad), 0);
    EXPECT_EQ(XPLMGetDataRefTypes(bad), xplmType_Unknown);
    EXPECT_EQ(XPLMCanWriteDataRef(bad), 0);
    EXPECT_EQ(XPLMGetDatai(bad), 0);
    EXPECT_EQ(XPLMGetDataf(bad), 0.0f);
    EXPECT_EQ(XPLMGetDatavf(bad, nullptr, 0, 0), 0);
    XPLMSetDatai(bad, 1);
    XPLMSetDataf(bad, 1);
  }
  EXPECT_EQ(local, 0);
}

TEST(DataRefAccess, PluginWritesObeyWritabilityButTheDriverWritesAnything) {
  Host host;
  XPLMDataRef headX = XPLMFindDataRef(kHeadX);
  XPLMDataRef gNormal = XPLMFindDataRef(kGNormal);
  XPLMSetDataf(headX, 0.25f);
  XPLMSetDataf(gNormal, 3.0f);
  ASSERT_TRUE(host.datarefs().read(kHeadX));
  EXPECT_EQ(host.datarefs().read(kHeadX)->type, xplmType_Float);
  EXPECT_EQ(host.datarefs().read(kHeadX)->value, 0.25f);
  EXPECT_EQ(XPLMGetDataf(gNormal), 1.0f);

  EXPECT_TRUE(host.datarefs().write(kGNormal, 2.5));
  EXPECT_EQ(XPLMGetDataf(gNormal), 2.5f);
  EXPECT_TRUE(host.datarefs().write("sim/flightmodel/failures/onground_any", 0));
  EXPECT_EQ(XPLMGetDatai(XPLMFindDataRef("sim/flightmodel/failures/onground_any")), 0);
  // An int dataref takes whole numbers only.
  EXPECT_FALSE(host.datarefs().write(kViewType, 1000.5));
  EXPECT_EQ(host.datarefs().read(kViewType)->value, 1026);
  EXPECT_FALSE(host.datarefs().write("sim/nothing/here", 1));
  EXPECT_FALSE(host.datarefs().read("sim/nothing/here"));
}

TEST(DataRefArrays, ReadsAndWritesAreClippedAndTheLengthQueryIgnoresOffsets) {
  Host host;
  XPLMDataRef n1 = XPLMFindDataRef(kN1);
  std::vector<float> source{10, 11, 12};
  XPLMSetDatavf(n1, source.data(), 14, 3);  // only elements 14 and 15 exist
  std::array<float, 8> out{};
  out.fill(-1);
  EXPECT_EQ(XPLMGetDatavf(n1, out.data(), 13, 8), 3);
  EXPECT_EQ(out[0], 0.0f);
  EXPECT_EQ(out[1], 10.0f);
  EXPECT_EQ(out[2], 11.0f);
  EXPECT_EQ(out[3], -1.0f);
  EXPECT_EQ(XPLMGetDatavf(n1, nullptr, 12, 1), 16);
  EXPECT_EQ(XPLMGetDatavf(n1, out.data(), 16, 8), 0);
  EXPECT_EQ(XPLMGetDatavf(n1, out.data(), -1, 8), 0);
  EXPECT_EQ(XPLMGetDatavf(n1, out.data(), 0, -1), 0);
  XPLMSetDatavf(n1, source.data(), -1, 3);
  EXPECT_EQ(host.datarefs().read(kN1, 0)->value, 0.0);

  // Read-only arrays refuse the plugin, not the driver.
  XPLMDataRef engineType = XPLMFindDataRef(kEngineType);
  std::array<int, 3> types{1, 2, 3};
  XPLMSetDatavi(engineType, types.data(), 0, 3);
  EXPECT_EQ(host.datarefs().read(kEngineType, 0)->value, 0.0);
  EXPECT_TRUE(host.datarefs().writeArray(kEngineType, {5, 6}));
  EXPECT_EQ(XPLMGetDatavi(engineType, types.data(), 0, 3), 3);
  EXPECT_EQ(types, (std::array<int, 3>{5, 6, 0}));
}

TEST(DataRefArrays, DriverAddressesElementsByNameOrIndex) {
  Host host;
  DataRefs& refs = host.datarefs();
  EXPECT_TRUE(refs.write("sim/flightmodel/engine/ENGN_N1_[2]", 55.5));
  EXPECT_TRUE(refs.write(kN1, 44, 3));
  std::array<float, 2> out{};
  EXPECT_EQ(XPLMGetDatavf(XPLMFindDataRef(kN1), out.data(), 2, 2), 2);
  EXPECT_EQ(out[0], 55.5f);
  EXPECT_EQ(out[1], 44.0f);
  EXPECT_EQ(refs.read("sim/flightmodel/engine/ENGN_N1_[3]")->value, 44.0);
  EXPECT_EQ(refs.read(kN1, 2)->type, xplmType_Float);
  EXPECT_FALSE(refs.read(kN1));  // an array needs an index
  EXPECT_FALSE(refs.read("sim/flightmodel/engine/ENGN_N1_[16]"));
  EXPECT_FALSE(refs.read("sim/flightmodel/engine/ENGN_N1_[2]", 3));  // the two indices disagree
  EXPECT_FALSE(refs.read("sim/flightmodel/engine/ENGN_N1_[x]"));
  EXPECT_FALSE(refs.read(kHeadX, 0));  // a scalar has no elements
  EXPECT_TRUE(refs.exists("sim/flightmodel/engine/ENGN_N1_[15]"));
  EXPECT_FALSE(refs.exists("sim/flightmodel/engine/ENGN_N1_[16]"));
  EXPECT_EQ(refs.types("sim/flightmodel/engine/ENGN_N1_[1]"), xplmType_FloatArray);
  EXPECT_EQ(refs.arraySize(kEngineType), 16);
  EXPECT_EQ(refs.arraySize(kHeadX), 0);

  EXPECT_FALSE(refs.writeArray(kN1, std::vector<double>(17, 1.0)));  // more than it holds: nothing written
  EXPECT_EQ(refs.read(kN1, 0)->value, 0.0);
  EXPECT_FALSE(refs.writeArray(kEngineType, {1, 2.5}));
  EXPECT_TRUE(refs.writeArray(kEngineType, {1, 2}));
  EXPECT_EQ(refs.read(kEngineType, 1)->type, xplmType_Int);
  EXPECT_EQ(refs.read(kEngineType, 1)->value, 2.0);
  EXPECT_FALSE(refs.writeArray(kHeadX, {1}));
}

// A plugin's published float dataref, counting the calls it receives and who made them.
struct Published {
  explicit Published(float start = 0) : value(start) {}
  float value;
  int reads = 0;
  int writes = 0;
  PluginId readAs = -1;
  PluginId wroteAs = -1;
};

float ReadPublished(void* refcon) {
  auto* p = static_cast<Published*>(refcon);
  ++p->reads;
  p->readAs = Host::current()->caller();
  return p->value;
}

void WritePublished(void* refcon, float value) {
  auto* p = static_cast<Published*>(refcon);
  ++p->writes;
  p->wroteAs = Host::current()->caller();
  p->value = value;
}

XPLMDataRef Publish(const char* name, Published* p, int writable = 1) {
  return XPLMRegisterDataAccessor(name, xplmType_Float, writable, nullptr, nullptr, ReadPublished,
                                  WritePublished, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, p, p);
}

TEST(DataAccessors, AreCalledOnEveryReadAndWriteAsTheirOwner) {
  Host host;
  Published p;
  constexpr PluginId kOwner = 7;
  XPLMDataRef ref = nullptr;
  {
    Host::PluginCall as(host, kOwner);
    ref = Publish("quorlend/x", &p);
  }
  ASSERT_NE(ref, nullptr);
  EXPECT_EQ(XPLMFindDataRef("quorlend/x"), ref);
  EXPECT_EQ(XPLMGetDataRefTypes(ref), xplmType_Float);
  XPLMSetDataf(ref, 1.5f);
  EXPECT_EQ(p.writes, 1);
  EXPECT_EQ(p.wroteAs, kOwner);
  EXPECT_EQ(XPLMGetDataf(ref), 1.5f);
  EXPECT_EQ(XPLMGetDataf(ref), 1.5f);
  EXPECT_EQ(p.reads, 2);
  EXPECT_EQ(p.readAs, kOwner);
  EXPECT_EQ(host.caller(), kPluginUnderTest);  // attribution ends with the call

  p.readAs = -1;
  auto value = host.datarefs().read("quorlend/x");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->value, 1.5);
  EXPECT_EQ(p.reads, 3);
  EXPECT_EQ(p.readAs, kOwner);
  EXPECT_TRUE(host.datarefs().write("quorlend/x", -2));
  EXPECT_EQ(p.value, -2.0f);
  EXPECT_EQ(p.writes, 2);
  EXPECT_EQ(XPLMGetDatai(ref), 0);  // no int accessor
  EXPECT_EQ(p.reads, 3);

  EXPECT_EQ(host.datarefs().registrations(kOwner), std::vector<std::string>{"data accessor quorlend/x"});
  EXPECT_TRUE(host.datarefs().registrations(kPluginUnderTest).empty());
}

TEST(DataAccessors, ReadOnlyAccessorIgnoresPluginWrites) {
  Host host;
  Published p;
  XPLMDataRef ref = Publish("quorlend/readonly", &p, 0);
  EXPECT_EQ(XPLMCanWriteDataRef(ref), 0);
  XPLMSetDataf(ref, 4);
  EXPECT_EQ(p.writes, 0);
  EXPECT_TRUE(host.datarefs().write("quorlend/readonly", 4));
  EXPECT_EQ(p.writes, 1);
  XPLMUnregisterDataAccessor(ref);
}

TEST(DataAccessors, UnregisteringLeavesHandlesStaleAndTheNameUnknown) {
  Host host;
  Published p;
  XPLMDataRef ref = Publish("quorlend/gone", &p);
  ASSERT_EQ(host.datarefs().registrations(kPluginUnderTest).size(), 1u);
  XPLMUnregisterDataAccessor(ref);
  EXPECT_EQ(XPLMFindDataRef("quorlend/gone"), nullptr);
  EXPECT_FALSE(host.datarefs().exists("quorlend/gone"));
  EXPECT_EQ(XPLMIsDataRefGood(ref), 0);
  EXPECT_EQ(XPLMGetDataf(ref), 0.0f);
  XPLMSetDataf(ref, 3);
  EXPECT_EQ(p.reads + p.writes, 0);
  EXPECT_TRUE(host.datarefs().registrations(kPluginUnderTest).empty());
  // Built-ins cannot be unregistered.
  XPLMUnregisterDataAccessor(XPLMFindDataRef(kHeadX));
  EXPECT_NE(XPLMFindDataRef(kHeadX), nullptr);
}

TEST(DataAccessors, ShadowABuiltinUntilUnregistered) {
  Host host;
  XPLMDataRef builtin = XPLMFindDataRef(kHeadX);
  Published p{0.75f};
  XPLMDataRef shadow = Publish(kHeadX, &p);
  EXPECT_NE(shadow, builtin);
  EXPECT_EQ(XPLMFindDataRef(kHeadX), shadow);
  EXPECT_EQ(host.datarefs().read(kHeadX)->value, 0.75f);
  EXPECT_EQ(XPLMGetDataf(builtin), -0.3f);  // an older handle keeps what it found
  XPLMUnregisterDataAccessor(shadow);
  EXPECT_EQ(XPLMFindDataRef(kHeadX), builtin);
  EXPECT_EQ(host.datarefs().read(kHeadX)->value, -0.3f);
}

int ReadArray(void* refcon, float* out, int offset, int max) {
  auto* values = static_cast<std::vector<float>*>(refcon);
  const int size = static_cast<int>(values->size());
  if (out == nullptr) return size;
  int n = 0;
  for (; n < max && offset + n < size; ++n) out[n] = (*values)[static_cast<std::size_t>(offset + n)];
  return n;
}

int ReadSwitch(void*) {
  return 1;
}

TEST(DataAccessors, DriverReadsAccessorArraysAndPrefersIntForScalars) {
  Host host;
  std::vector<float> values{1, 2, 3};
  XPLMDataRef array = XPLMRegisterDataAccessor("quorlend/array", xplmType_FloatArray, 0, nullptr, nullptr,
                                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                               ReadArray, nullptr, nullptr, nullptr, &values, nullptr);
  EXPECT_EQ(host.datarefs().arraySize("quorlend/array"), 3);
  EXPECT_EQ(host.datarefs().read("quorlend/array[2]")->value, 3.0);
  EXPECT_FALSE(host.datarefs().read("quorlend/array[3]"));
  EXPECT_FALSE(host.datarefs().write("quorlend/array[0]", 9));  // no writer

  Published p{2.5f};
  XPLMDataRef both = XPLMRegisterDataAccessor("quorlend/both", xplmType_Int | xplmType_Float, 0, ReadSwitch,
                                              nullptr, ReadPublished, nullptr, nullptr, nullptr, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr, &p, nullptr);
  EXPECT_EQ(host.datarefs().read("quorlend/both")->type, xplmType_Int);
  EXPECT_EQ(XPLMGetDataf(both), 2.5f);
  XPLMUnregisterDataAccessor(array);
  XPLMUnregisterDataAccessor(both);
}

}  // namespace
}  // namespace sim
