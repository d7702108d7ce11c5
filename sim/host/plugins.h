// Plugins and messages of the simulated host.
//
// Plugin 0 is X-Plane itself, plugin 1 the plugin under test, plugins from 2 on are stub plugins that only
// record the messages sent to them. A message's parameter is recorded as text when the message number is
// at least 0x00FFFFFF (plugin-defined messages, whose parameters are by convention pointers) and the
// parameter is not null: the text it points to, read up to 4096 bytes; otherwise the decimal value of the
// parameter. XPLMFindSymbol knows every SDK function this host implements by its name and gives null for
// any other.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "XPLMPlugin.h"
#include "host.h"

namespace sim {

struct RecordedMessage {
  PluginId from = 0;
  int number = 0;
  intptr_t param = 0;
  std::string text;
};

class Plugins {
 public:
  explicit Plugins(Host& host);
  ~Plugins();

  PluginId addStub(std::string signature);  // returns its id
  const std::vector<RecordedMessage>* messages(std::string_view signature) const;  // null: no such stub

  // C API.
  XPLMPluginID findBySignature(const char* signature) const;
  void send(XPLMPluginID to, int message, void* param);
  int count() const;

  // Address of an SDK function this host implements, by name; null for unknown names.
  static void* findSymbol(const char* name);

 private:
  struct Stub {
    std::string signature;
    std::vector<RecordedMessage> received;
  };
  Host& host_;
  std::vector<Stub> stubs_;
};

}  // namespace sim
