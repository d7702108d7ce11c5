// Plugins and messages of the simulated host.
//
// Plugin 0 is X-Plane itself, plugin 1 the plugin under test, plugins from 2 on are stub plugins that only
// record the messages sent to them, and companions (Host::loadCompanion), real plugin libraries whose
// XPluginReceiveMessage receives the messages sent to them instead. A message's parameter is recorded as text
// when the message number is at least 0x00FFFFFF (plugin-defined messages, whose parameters are by convention
// pointers) and the parameter is not null: the text it points to, read up to 4096 bytes; otherwise the
// decimal value of the parameter. XPLMFindSymbol knows every SDK function this host implements by its name
// and gives null for any other.
//
// Where the SDK documentation is silent:
// - The plugin under test counts as loaded, and can be found by its signature or its installed file, from
//   the end of XPluginStart until XPluginStop (Host::started()), and is enabled from a non-zero result of
//   XPluginEnable until then (Host::enabled()). Stubs are loaded for the host's life and enabled unless a
//   plugin disables them; a disabled stub records nothing.
// - XPLMSendMessageToPlugin with XPLM_NO_PLUGIN_ID reaches the plugin under test and every enabled stub,
//   the sender included; a message to X-Plane (0) or an unknown id goes nowhere.
// - XPLMCountPlugins / XPLMGetNthPlugin list the plugin under test (while loaded) first, then the stubs.
// - XPLMEnablePlugin / XPLMDisablePlugin act as the plugin admin does (Host::enablePlugin, disablePlugin:
//   XPluginEnable / XPluginDisable of the plugin under test or a companion, the flag of a stub); what a
//   disabled plugin still gets is in host.h. XPLMReloadPlugins does nothing.
// - A companion gets the messages plugins send it and, as every enabled plugin in X-Plane, the simulator's
//   own (plane loaded, ...), after the plugin under test. Stubs record only what plugins send them. After its
//   stop a companion stays listed, disabled and without a signature.
// - Features are per plugin, as in X-Plane: XPLMIsFeatureEnabled and XPLMEnableFeature act for the calling
//   plugin (Host::caller()), and a plugin loaded again starts with every feature off. The simulator has
//   X-Plane 12's XPLM_USE_NATIVE_PATHS (since X-Plane 10) and XPLM_USE_NATIVE_WIDGET_WINDOWS (since 11);
//   the older simulator only the first. A scenario may take a feature away (Host::removeFeature), as a
//   simulator older than it; enabling a feature the simulator lacks does nothing. What native paths change
//   is in utilities.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "XPLMPlugin.h"
#include "XPLMUtilities.h"
#include "host.h"

namespace sim {

struct RecordedMessage {
  PluginId from = 0;
  int number = 0;
  intptr_t param = 0;
  std::string text;
  bool operator==(const RecordedMessage&) const = default;
};

class Plugins {
 public:
  explicit Plugins(Host& host);

  PluginId addStub(std::string signature);  // returns its id
  // Turns stub ID into a companion with that signature, whose messages go to RECEIVE (null: none).
  void setCompanion(PluginId id, std::string signature, void (*receive)(XPLMPluginID, int, void*));
  const std::vector<RecordedMessage>* messages(std::string_view signature) const;  // null: no such stub

  // C API.
  XPLMPluginID findBySignature(const char* signature) const;
  XPLMPluginID findByPath(const char* path) const;
  void send(XPLMPluginID to, int message, void* param);
  int count() const;
  XPLMPluginID nth(int index) const;  // XPLM_NO_PLUGIN_ID out of range
  // Copies what is asked for into 256-character buffers; false for an unknown id (buffers emptied).
  bool info(XPLMPluginID id, char* name, char* filePath, char* signature, char* description) const;
  bool isEnabled(XPLMPluginID id) const;
  bool setEnabled(XPLMPluginID id, bool enabled);  // stubs only; false otherwise

  bool hasFeature(std::string_view feature) const;
  bool featureEnabled(PluginId plugin, std::string_view feature) const;
  void enableFeature(PluginId plugin, std::string_view feature, bool enabled);  // unknown ones are ignored
  void forgetFeatures(PluginId plugin);     // the plugin is unloaded: every feature off for its next load
  void removeFeature(std::string feature);  // the simulator lacks it from now on
  std::vector<std::string> features() const;

  // The plugin's XPLMSetErrorCallback; the host keeps it and calls it for nothing yet.
  void setErrorCallback(XPLMError_f callback) { errorCallback_ = callback; }
  XPLMError_f errorCallback() const { return errorCallback_; }

  // What a host checkpoint keeps of them, and putting it back (host.h, Host::Checkpoint).
  struct Saved;
  std::shared_ptr<const Saved> save() const;
  void restore(const Saved& saved);
  // Address of an SDK function this host implements, by name; null for unknown names.
  static void* findSymbol(const char* name);

 private:
  struct Stub {
    std::string signature;
    std::vector<RecordedMessage> received;
    bool enabled = true;
    void (*receive)(XPLMPluginID from, int message, void* param) = nullptr;  // a companion's entry point
    bool operator==(const Stub&) const = default;
  };
  void deliver(XPLMPluginID to, Stub& target, int message, void* param);
  struct Feature {
    PluginId plugin = 0;
    std::string name;
    bool operator==(const Feature&) const = default;
  };
  const Stub* stub(XPLMPluginID id) const;
  Stub* stub(XPLMPluginID id);
  void record(Stub& stub, int message, void* param);

  Host& host_;
  std::vector<Stub> stubs_;
  std::vector<Feature> enabledFeatures_;
  std::vector<std::string> removedFeatures_;
  XPLMError_f errorCallback_ = nullptr;
};

}  // namespace sim
