// What an action of the table (ui/action_table.h) does; every input runs its row's action through these.
#pragma once

#include "ui/action_table.h"

namespace talvenor {

// What a press does (the first phase of a command, a key, a pick, a click). A move of an axis does nothing
// on a command's press: it moves while the command is held (HoldAction), or by the panel's step on a click.
void RunAction(ActionId id);
// One held cycle of a command: a move of an axis steps by the axis's current increment; nothing is written.
void HoldAction(ActionId id);

}  // namespace talvenor
