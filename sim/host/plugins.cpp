#include "plugins.h"

#include "c_guard.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform.h"

namespace sim {
namespace {

constexpr unsigned kFirstPluginMessage = 0x00FFFFFF;
constexpr std::size_t kMaxMessageText = 4096;
constexpr std::size_t kInfoBuffer = 256;  // what the SDK asks callers of XPLMGetPluginInfo to supply

std::filesystem::path InstalledPlugin(const Host& host) {
  return host.pluginFolder() / platform::kPluginFolder / (host.pluginName() + ".xpl");
}

}  // namespace

Plugins::Plugins(Host& host) : host_(host) {}

struct Plugins::Saved {
  std::vector<Stub> stubs;
  std::vector<Feature> enabledFeatures;
  std::vector<std::string> removedFeatures;
  XPLMError_f errorCallback = nullptr;
};

std::shared_ptr<const Plugins::Saved> Plugins::save() const {
  return std::make_shared<const Saved>(Saved{stubs_, enabledFeatures_, removedFeatures_, errorCallback_});
}

void Plugins::restore(const Saved& saved) {
  if (stubs_ != saved.stubs) stubs_ = saved.stubs;
  if (enabledFeatures_ != saved.enabledFeatures) enabledFeatures_ = saved.enabledFeatures;
  if (removedFeatures_ != saved.removedFeatures) removedFeatures_ = saved.removedFeatures;
  errorCallback_ = saved.errorCallback;
}

PluginId Plugins::addStub(std::string signature) {
  stubs_.push_back(Stub{std::move(signature), {}, true});
  return static_cast<PluginId>(stubs_.size()) + kPluginUnderTest;
}

void Plugins::setCompanion(PluginId id, std::string signature, void (*receive)(XPLMPluginID, int, void*)) {
  if (Stub* s = stub(id)) {
    s->signature = std::move(signature);
    s->receive = receive;
  }
}

const Plugins::Stub* Plugins::stub(XPLMPluginID id) const {
  const long index = static_cast<long>(id) - kPluginUnderTest - 1;
  if (index < 0 || index >= static_cast<long>(stubs_.size())) return nullptr;
  return &stubs_[static_cast<std::size_t>(index)];
}

Plugins::Stub* Plugins::stub(XPLMPluginID id) {
  return const_cast<Stub*>(static_cast<const Plugins*>(this)->stub(id));
}

const std::vector<RecordedMessage>* Plugins::messages(std::string_view signature) const {
  for (const Stub& s : stubs_) {
    if (s.signature == signature) return &s.received;
  }
  return nullptr;
}

XPLMPluginID Plugins::findBySignature(const char* signature) const {
  if (signature == nullptr) return XPLM_NO_PLUGIN_ID;
  if (host_.started() && !host_.signature().empty() && host_.signature() == signature)
    return kPluginUnderTest;
  for (std::size_t i = 0; i < stubs_.size(); ++i) {
    if (!stubs_[i].signature.empty() && stubs_[i].signature == signature)
      return static_cast<XPLMPluginID>(i) + kPluginUnderTest + 1;
  }
  return XPLM_NO_PLUGIN_ID;
}

XPLMPluginID Plugins::findByPath(const char* path) const {
  if (path == nullptr || !host_.started()) return XPLM_NO_PLUGIN_ID;
  const auto given = std::filesystem::path(path).lexically_normal();
  return given == InstalledPlugin(host_).lexically_normal() ? kPluginUnderTest : XPLM_NO_PLUGIN_ID;
}

void Plugins::record(Stub& target, int message, void* param) {
  RecordedMessage entry;
  entry.from = host_.caller();
  entry.number = message;
  entry.param = reinterpret_cast<intptr_t>(param);
  if (static_cast<unsigned>(message) >= kFirstPluginMessage && param != nullptr) {
    const char* text = static_cast<const char*>(param);
    entry.text.assign(text, strnlen(text, kMaxMessageText));
  } else {
    entry.text = std::to_string(entry.param);
  }
  target.received.push_back(std::move(entry));
}

void Plugins::send(XPLMPluginID to, int message, void* param) {
  const PluginId from = host_.caller();
  if (to == kPluginUnderTest || to == XPLM_NO_PLUGIN_ID) {
    host_.sendMessage(from, message, reinterpret_cast<intptr_t>(param));
  }
  if (to == XPLM_NO_PLUGIN_ID) {
    // By index: the plugin under test may answer with messages of its own while this goes on.
    for (std::size_t i = 0; i < stubs_.size(); ++i) {
      if (stubs_[i].enabled)
        deliver(static_cast<XPLMPluginID>(i) + kPluginUnderTest + 1, stubs_[i], message, param);
    }
    return;
  }
  if (Stub* target = stub(to); target != nullptr && target->enabled) deliver(to, *target, message, param);
}

void Plugins::deliver(XPLMPluginID to, Stub& target, int message, void* param) {
  if (target.receive == nullptr) {
    record(target, message, param);
    return;
  }
  const PluginId from = host_.caller();
  Host::PluginCall call(host_, to);
  target.receive(from, message, param);
}

int Plugins::count() const {
  return static_cast<int>(stubs_.size()) + (host_.started() ? 1 : 0);
}

XPLMPluginID Plugins::nth(int index) const {
  if (index < 0 || index >= count()) return XPLM_NO_PLUGIN_ID;
  if (host_.started()) {
    if (index == 0) return kPluginUnderTest;
    --index;
  }
  return static_cast<XPLMPluginID>(index) + kPluginUnderTest + 1;
}

bool Plugins::info(XPLMPluginID id, char* name, char* filePath, char* signature, char* description) const {
  if (id == kPluginUnderTest && host_.started()) {
    CopyOut(name, host_.name(), kInfoBuffer);
    CopyOut(filePath, InstalledPlugin(host_).string(), kInfoBuffer);
    CopyOut(signature, host_.signature(), kInfoBuffer);
    CopyOut(description, host_.description(), kInfoBuffer);
    return true;
  }
  if (const Stub* s = stub(id)) {
    CopyOut(name, s->signature, kInfoBuffer);
    CopyOut(filePath, "", kInfoBuffer);
    CopyOut(signature, s->signature, kInfoBuffer);
    CopyOut(description, "Stub plugin of the simulated host", kInfoBuffer);
    return true;
  }
  for (char* out : {name, filePath, signature, description}) CopyOut(out, "", kInfoBuffer);
  return false;
}

bool Plugins::isEnabled(XPLMPluginID id) const {
  if (id == kPluginUnderTest) return host_.enabled();
  const Stub* s = stub(id);
  return s != nullptr && s->enabled;
}

bool Plugins::setEnabled(XPLMPluginID id, bool enabled) {
  Stub* s = stub(id);
  if (s == nullptr) return false;
  s->enabled = enabled;
  return true;
}

bool Plugins::hasFeature(std::string_view feature) const {
  const std::vector<std::string> names = features();
  return std::find(names.begin(), names.end(), feature) != names.end();
}

bool Plugins::featureEnabled(PluginId plugin, std::string_view feature) const {
  return std::any_of(enabledFeatures_.begin(), enabledFeatures_.end(),
                     [&](const Feature& f) { return f.plugin == plugin && f.name == feature; });
}

void Plugins::enableFeature(PluginId plugin, std::string_view feature, bool enabled) {
  std::erase_if(enabledFeatures_, [&](const Feature& f) { return f.plugin == plugin && f.name == feature; });
  if (enabled && hasFeature(feature)) enabledFeatures_.push_back({plugin, std::string(feature)});
}

void Plugins::forgetFeatures(PluginId plugin) {
  std::erase_if(enabledFeatures_, [&](const Feature& f) { return f.plugin == plugin; });
}

void Plugins::removeFeature(std::string feature) {
  std::erase_if(enabledFeatures_, [&](const Feature& f) { return f.name == feature; });
  removedFeatures_.push_back(std::move(feature));
}

std::vector<std::string> Plugins::features() const {
  std::vector<std::string> names = {"XPLM_USE_NATIVE_PATHS"};
  if (host_.simulator() == Simulator::XPlane12) names.emplace_back("XPLM_USE_NATIVE_WIDGET_WINDOWS");
  std::erase_if(names, [&](const std::string& name) {
    return std::find(removedFeatures_.begin(), removedFeatures_.end(), name) != removedFeatures_.end();
  });
  return names;
}

void* Plugins::findSymbol(const char* name) {
  // Only SDK names: the library also exports the host's C++ API, which is no plugin's business.
  if (name == nullptr || std::strncmp(name, "XP", 2) != 0) return nullptr;
  return platform::HostSymbol(name);
}

}  // namespace sim

using sim::Forward;
using sim::Host;
using sim::Plugins;

XPLM_API XPLMPluginID XPLMGetMyID(void) {
  return sim::WithHost<XPLMPluginID>(XPLM_NO_PLUGIN_ID, [](Host& host) { return host.caller(); });
}

XPLM_API int XPLMCountPlugins(void) {
  return Forward<&Host::plugins, &Plugins::count>();
}

XPLM_API XPLMPluginID XPLMGetNthPlugin(int inIndex) {
  return sim::WithHost<XPLMPluginID>(XPLM_NO_PLUGIN_ID,
                                     [&](Host& host) { return host.plugins().nth(inIndex); });
}

XPLM_API XPLMPluginID XPLMFindPluginByPath(const char* inPath) {
  return sim::WithHost<XPLMPluginID>(XPLM_NO_PLUGIN_ID,
                                     [&](Host& host) { return host.plugins().findByPath(inPath); });
}

XPLM_API XPLMPluginID XPLMFindPluginBySignature(const char* inSignature) {
  return sim::WithHost<XPLMPluginID>(XPLM_NO_PLUGIN_ID,
                                     [&](Host& host) { return host.plugins().findBySignature(inSignature); });
}

XPLM_API void XPLMGetPluginInfo(XPLMPluginID inPlugin, char* outName, char* outFilePath, char* outSignature,
                                char* outDescription) {
  Forward<&Host::plugins, &Plugins::info>(inPlugin, outName, outFilePath, outSignature, outDescription);
}

XPLM_API int XPLMIsPluginEnabled(XPLMPluginID inPluginID) {
  return sim::WithHost(0, [&](Host& host) { return host.plugins().isEnabled(inPluginID) ? 1 : 0; });
}

XPLM_API int XPLMEnablePlugin(XPLMPluginID inPluginID) {
  return sim::WithHost(0, [&](Host& host) {
    host.enablePlugin(inPluginID);
    return host.pluginEnabled(inPluginID) ? 1 : 0;
  });
}

XPLM_API void XPLMDisablePlugin(XPLMPluginID inPluginID) {
  sim::WithHost([&](Host& host) {
    if (inPluginID != sim::kSimulatorId) host.disablePlugin(inPluginID);
  });
}

XPLM_API void XPLMReloadPlugins(void) {}

XPLM_API void XPLMSendMessageToPlugin(XPLMPluginID inPlugin, int inMessage, void* inParam) {
  Forward<&Host::plugins, &Plugins::send>(inPlugin, inMessage, inParam);
}

XPLM_API int XPLMHasFeature(const char* inFeature) {
  return sim::WithHost(
      0, [&](Host& host) { return inFeature != nullptr && host.plugins().hasFeature(inFeature); });
}

XPLM_API int XPLMIsFeatureEnabled(const char* inFeature) {
  return sim::WithHost(0, [&](Host& host) {
    return inFeature != nullptr && host.plugins().featureEnabled(host.caller(), inFeature) ? 1 : 0;
  });
}

XPLM_API void XPLMEnableFeature(const char* inFeature, int inEnable) {
  sim::WithHost([&](Host& host) {
    if (inFeature != nullptr) host.plugins().enableFeature(host.caller(), inFeature, inEnable != 0);
  });
}

XPLM_API void XPLMEnumerateFeatures(XPLMFeatureEnumerator_f inEnumerator, void* inRef) {
  sim::WithHost([&](Host& host) {
    if (inEnumerator == nullptr) return;
    const sim::PluginId caller = host.caller();
    for (const std::string& name : host.plugins().features()) {
      Host::PluginCall call(host, caller);
      inEnumerator(name.c_str(), inRef);
    }
  });
}

XPLM_API void* XPLMFindSymbol(const char* inString) {
  return sim::WithHost<void*>(nullptr, [&](Host&) { return sim::Plugins::findSymbol(inString); });
}
