// The view engine under test: a started Talvenor in a fresh simulator, optionally with a recorder on the six
// head datarefs; the plugin's windows are opened as the menu opens them.
//
// The recorder registers accessors over the simulator's head datarefs before the plugin starts, so the
// plugin's handles lead to it: every write the plugin makes is seen, in order, including writes of an
// unchanged value.
#pragma once

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "XPLMDataAccess.h"
#include "XPStandardWidgets.h"
#include "XPWidgets.h"
#include "plugin/plugin.h"
#include "plugin/plugin_fixture.h"
#include "ui/data_display.h"
#include "ui/effects_panel.h"
#include "ui/panels.h"
#include "view/view_state.h"

namespace talvenor::testing {

struct HeadWrite {
  std::string name;
  float value = 0;
  bool operator==(const HeadWrite&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const HeadWrite& write) {
  return out << write.name << "=" << write.value;
}

class HeadRecorder {
 public:
  static constexpr int kAxes = 6;
  // The simulator's own names, with the host's start values.
  struct Axis {
    const char* dataref;
    const char* name;
    float value;
  };

  void Install() {
    for (int i = 0; i < kAxes; ++i) {
      axes_[i] = kStart[i];
      handles_[i] = XPLMRegisterDataAccessor(axes_[i].dataref, xplmType_Float, 1, nullptr, nullptr, &Read,
                                             &Write, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                             nullptr, nullptr, &axes_[i], &slots_[i]);
      slots_[i] = {this, i};
    }
  }
  void Remove() {
    for (XPLMDataRef& handle : handles_) {
      if (handle != nullptr) XPLMUnregisterDataAccessor(handle);
      handle = nullptr;
    }
  }
  const std::vector<HeadWrite>& writes() const { return writes_; }
  void Clear() { writes_.clear(); }
  // The names written, in order.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const HeadWrite& write : writes_) names.push_back(write.name);
    return names;
  }
  // The last value written to NAME; false when it was not written.
  bool Written(const std::string& name, float* value = nullptr) const {
    for (auto it = writes_.rbegin(); it != writes_.rend(); ++it) {
      if (it->name == name) {
        if (value != nullptr) *value = it->value;
        return true;
      }
    }
    return false;
  }

 private:
  struct Slot {
    HeadRecorder* recorder = nullptr;
    int index = 0;
  };
  static float Read(void* refcon) { return static_cast<Axis*>(refcon)->value; }
  static void Write(void* refcon, float value) {
    const Slot& slot = *static_cast<Slot*>(refcon);
    slot.recorder->axes_[slot.index].value = value;
    slot.recorder->writes_.push_back({slot.recorder->axes_[slot.index].name, value});
  }

  static constexpr Axis kStart[kAxes] = {
      {kHeadX, "x", -0.3f},        {kHeadY, "y", 1.0f},
      {kHeadZ, "z", -4.0f},        {kHeadHeading, "heading", 0.0f},
      {kHeadPitch, "pitch", 0.0f}, {kHeadRoll, "roll", 0.0f},
  };
  Axis axes_[kAxes] = {};
  Slot slots_[kAxes] = {};
  XPLMDataRef handles_[kAxes] = {};
  std::vector<HeadWrite> writes_;
};

class ViewTest : public PluginTest {
 protected:
  void TearDown() override {
    recorder_.Remove();
    if (viewTypeRef_ != nullptr) XPLMUnregisterDataAccessor(viewTypeRef_);
    viewTypeRef_ = nullptr;
    PluginTest::TearDown();
  }

  // Before Start(): the plugin will write to the recorder.
  void RecordHeadWrites() { recorder_.Install(); }
  HeadRecorder& recorder() { return recorder_; }

  // Before Start(): every write of the view type is kept, in order. Only the older simulator lets a plugin
  // write it, so the host models that one.
  void RecordViewTypeWrites() {
    host().setSimulator(sim::Simulator::Older);
    viewTypeRef_ = XPLMRegisterDataAccessor(kViewType, xplmType_Int, 1, &ReadViewType, &WriteViewType,
                                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, this, this);
  }
  std::vector<int>& viewTypeWrites() { return viewTypeWrites_; }

  // Runs code as the plugin, as a callback of the host would.
  template <typename Body>
  void AsPlugin(Body&& body) {
    sim::Host::PluginCall call(host(), sim::kPluginUnderTest);
    body();
  }

  // Until the first call of the per-frame update (0.1 s after start) and one call more.
  void RunUntilUpdating() { host().runCycles(6); }
  void Frame(long count = 1) { host().runCycles(count); }

  // The plugin's own windows, opened as their menu items do.
  void OpenDataDisplayAsPlugin() {
    AsPlugin([] { OpenDataDisplay(); });
  }
  void OpenEffectsPanelAsPlugin() {
    AsPlugin([] { OpenEffectsPanel(); });
  }

  // What the user sees of a widget.
  static std::string Text(XPWidgetID widget) {
    char text[512] = {};
    XPGetWidgetDescriptor(widget, text, sizeof text - 1);
    return text;
  }
  static int BoxState(XPWidgetID widget) {
    return static_cast<int>(XPGetWidgetProperty(widget, xpProperty_ButtonState, nullptr));
  }
  static bool Visible(XPWidgetID widget) {
    const auto info = Host::current()->widgets().info(widget);
    return info && info->ownVisible;
  }
  bool MenuItemEnabled(int index) {
    const auto items = host().menus().items("Talvenor");
    return items && index < static_cast<int>(items->size()) &&
           (*items)[static_cast<std::size_t>(index)].enabled;
  }

  // After Start(): an external source's switch, written through the plugin's own dataref as a source does.
  struct ExternalSwitch {
    ExternalSwitch& operator=(int value) {
      XPLMSetDatai(XPLMFindDataRef("quorlend/talvenor/external_enabled"), value);
      return *this;
    }
  } externalValue_;

 private:
  using Host = sim::Host;

  static int ReadViewType(void* refcon) { return static_cast<ViewTest*>(refcon)->viewType_; }
  static void WriteViewType(void* refcon, int value) {
    auto* test = static_cast<ViewTest*>(refcon);
    test->viewType_ = value;
    test->viewTypeWrites_.push_back(value);
  }

  HeadRecorder recorder_;
  XPLMDataRef viewTypeRef_ = nullptr;
  int viewType_ = 1026;
  std::vector<int> viewTypeWrites_;
};

}  // namespace talvenor::testing
