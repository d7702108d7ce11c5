#include "plugin/plugin.h"

namespace talvenor {
namespace {

Plugin g_plugin;

}  // namespace

Plugin& State() {
  return g_plugin;
}
void ResetState() {
  g_plugin = Plugin{};
}

ViewState& View() {
  return g_plugin.view;
}
SetupSettings& Settings() {
  return g_plugin.setup;
}
PluginMenu& Menu() {
  return g_plugin.menu;
}
Panels& PanelState() {
  return g_plugin.panels;
}
const SimDataRefs& SimRefs() {
  return g_plugin.refs;
}
OptionalHostFunctions& HostFunctions() {
  return g_plugin.hostFunctions;
}
ExternalData& External() {
  return g_plugin.external;
}
TrackIrClient& TrackerClient() {
  return g_plugin.tracker;
}

}  // namespace talvenor
