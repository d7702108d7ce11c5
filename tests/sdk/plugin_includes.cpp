// A plugin's own file as the header checks of tests/sdk/header_checks.cmake compile it: one SDK header, and
// what the official headers bring along with it.
#include "XPLMUtilities.h"

int32_t fixedWidth = 0;  // <stdint.h>
#if IBM
HMODULE module = nullptr;  // <windows.h>
#endif

void* FindNoCommand() {
  return XPLMFindCommand("sim/none");
}
