// Names the host, scenario-runner and plugin tests share, so that a renamed dataref or window is changed
// once.
#pragma once

namespace sim::test {

// The simulator's head datarefs, which every view plugin writes.
inline constexpr const char* kHeadX = "sim/graphics/view/pilots_head_x";
inline constexpr const char* kHeadY = "sim/graphics/view/pilots_head_y";
inline constexpr const char* kHeadZ = "sim/graphics/view/pilots_head_z";
inline constexpr const char* kHeadHeading = "sim/graphics/view/pilots_head_psi";
inline constexpr const char* kHeadPitch = "sim/graphics/view/pilots_head_the";
inline constexpr const char* kHeadRoll = "sim/graphics/view/field_of_view_roll_deg";
inline constexpr const char* kViewType = "sim/graphics/view/view_type";

// The probe plugin's name, which is also its menu's title and its window's caption.
inline constexpr const char* kProbe = "SDK Probe";
// The caption of Talvenor's control panel window.
inline constexpr const char* kControlPanelCaption = "Talvenor v1.70";

}  // namespace sim::test
