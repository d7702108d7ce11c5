// The accessors of the plugin's state, all in one place: each returns one record of the one Plugin aggregate
// (plugin.h). A record is changed only by the subsystem that owns it, through its named operations; the
// others read it here and call those operations.
#pragma once

namespace talvenor {

struct Plugin;
struct PluginMenu;
struct OptionalHostFunctions;

Plugin& State();                         // the whole aggregate; its own fields are src/plugin's
PluginMenu& Menu();                      // owned by src/plugin
OptionalHostFunctions& HostFunctions();  // filled once at start by src/plugin

}  // namespace talvenor
