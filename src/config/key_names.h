// The key and modifier names of the setup file with their XPLM_VK_ codes and flags; the simulated host's
// scenario language reads the same names, so the table lives in a header either side can include.
#pragma once

#include <cstdint>
#include <iterator>

#include "XPLMDefs.h"

namespace talvenor {

struct KeyName {
  const char* name;
  std::int32_t code;
};

#define TALVENOR_KEY(name) \
  { #name, XPLM_VK_##name }
constexpr KeyName kKeyNameTable[] = {
    TALVENOR_KEY(BACK),    TALVENOR_KEY(TAB),        TALVENOR_KEY(CLEAR),     TALVENOR_KEY(RETURN),
    TALVENOR_KEY(ESCAPE),  TALVENOR_KEY(SPACE),      TALVENOR_KEY(PRIOR),     TALVENOR_KEY(NEXT),
    TALVENOR_KEY(END),     TALVENOR_KEY(HOME),       TALVENOR_KEY(LEFT),      TALVENOR_KEY(UP),
    TALVENOR_KEY(RIGHT),   TALVENOR_KEY(DOWN),       TALVENOR_KEY(SELECT),    TALVENOR_KEY(PRINT),
    TALVENOR_KEY(EXECUTE), TALVENOR_KEY(SNAPSHOT),   TALVENOR_KEY(INSERT),    TALVENOR_KEY(DELETE),
    TALVENOR_KEY(HELP),    TALVENOR_KEY(0),          TALVENOR_KEY(1),         TALVENOR_KEY(2),
    TALVENOR_KEY(3),       TALVENOR_KEY(4),          TALVENOR_KEY(5),         TALVENOR_KEY(6),
    TALVENOR_KEY(7),       TALVENOR_KEY(8),          TALVENOR_KEY(9),         TALVENOR_KEY(A),
    TALVENOR_KEY(B),       TALVENOR_KEY(C),          TALVENOR_KEY(D),         TALVENOR_KEY(E),
    TALVENOR_KEY(F),       TALVENOR_KEY(G),          TALVENOR_KEY(H),         TALVENOR_KEY(I),
    TALVENOR_KEY(J),       TALVENOR_KEY(K),          TALVENOR_KEY(L),         TALVENOR_KEY(M),
    TALVENOR_KEY(N),       TALVENOR_KEY(O),          TALVENOR_KEY(P),         TALVENOR_KEY(Q),
    TALVENOR_KEY(R),       TALVENOR_KEY(S),          TALVENOR_KEY(T),         TALVENOR_KEY(U),
    TALVENOR_KEY(V),       TALVENOR_KEY(W),          TALVENOR_KEY(X),         TALVENOR_KEY(Y),
    TALVENOR_KEY(Z),       TALVENOR_KEY(NUMPAD0),    TALVENOR_KEY(NUMPAD1),   TALVENOR_KEY(NUMPAD2),
    TALVENOR_KEY(NUMPAD3), TALVENOR_KEY(NUMPAD4),    TALVENOR_KEY(NUMPAD5),   TALVENOR_KEY(NUMPAD6),
    TALVENOR_KEY(NUMPAD7), TALVENOR_KEY(NUMPAD8),    TALVENOR_KEY(NUMPAD9),   TALVENOR_KEY(MULTIPLY),
    TALVENOR_KEY(ADD),     TALVENOR_KEY(SEPARATOR),  TALVENOR_KEY(SUBTRACT),  TALVENOR_KEY(DECIMAL),
    TALVENOR_KEY(DIVIDE),  TALVENOR_KEY(F1),         TALVENOR_KEY(F2),        TALVENOR_KEY(F3),
    TALVENOR_KEY(F4),      TALVENOR_KEY(F5),         TALVENOR_KEY(F6),        TALVENOR_KEY(F7),
    TALVENOR_KEY(F8),      TALVENOR_KEY(F9),         TALVENOR_KEY(F10),       TALVENOR_KEY(F11),
    TALVENOR_KEY(F12),     TALVENOR_KEY(F13),        TALVENOR_KEY(F14),       TALVENOR_KEY(F15),
    TALVENOR_KEY(F16),     TALVENOR_KEY(F17),        TALVENOR_KEY(F18),       TALVENOR_KEY(F19),
    TALVENOR_KEY(F20),     TALVENOR_KEY(F21),        TALVENOR_KEY(F22),       TALVENOR_KEY(F23),
    TALVENOR_KEY(F24),     TALVENOR_KEY(EQUAL),      TALVENOR_KEY(MINUS),     TALVENOR_KEY(RBRACE),
    TALVENOR_KEY(LBRACE),  TALVENOR_KEY(QUOTE),      TALVENOR_KEY(SEMICOLON), TALVENOR_KEY(BACKSLASH),
    TALVENOR_KEY(COMMA),   TALVENOR_KEY(SLASH),      TALVENOR_KEY(PERIOD),    TALVENOR_KEY(BACKQUOTE),
    TALVENOR_KEY(ENTER),   TALVENOR_KEY(NUMPAD_ENT), TALVENOR_KEY(NUMPAD_EQ),
};
#undef TALVENOR_KEY
static_assert(std::size(kKeyNameTable) == 111);

constexpr KeyName kModifierNameTable[] = {
    {"SHIFT", xplm_ShiftFlag}, {"ALT", xplm_OptionAltFlag}, {"CONTROL", xplm_ControlFlag},
    {"DOWN", xplm_DownFlag},   {"UP", xplm_UpFlag},
};

}  // namespace talvenor
