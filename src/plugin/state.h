// The accessors of the host integration's own records in the one Plugin aggregate (plugin.h). Every other
// record's accessor is declared with the record, in the subsystem that owns it, and defined in plugin.cpp
// over the same aggregate. A record is changed only by its owner, through its named operations.
#pragma once

namespace talvenor {

struct Plugin;
struct PluginMenu;
struct OptionalHostFunctions;

Plugin& State();                         // the whole aggregate; its own fields are src/plugin's
PluginMenu& Menu();                      // owned by src/plugin
OptionalHostFunctions& HostFunctions();  // filled once at start by src/plugin

}  // namespace talvenor
