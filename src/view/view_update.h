// The view engine's part of each frame: what it computes from the view state and what it is given. The
// frame itself, and what it decides across subsystems, is the host integration's (plugin/frame_update.h).
#pragma once

#include <array>
#include <cstdint>

#include "view/force_effects.h"
#include "view/head_pose.h"

namespace talvenor {

// The control panel's tracker boxes as the frame reads them: on, the source moves the axis (x, y, z, pitch,
// heading, roll).
using TrackerAxes = std::array<bool, 6>;

// quorlend/talvenor/external_enabled as read this frame. True when it changed since the last frame: the
// source's availability then follows it.
bool NoteExternalSwitch(std::int32_t value);
// The start again that an aircraft load asked for is done.
void FinishReinitialisation();

// The offsets of the axes whose box is on take the source's pose RAW (from tracker units, scaled by
// MULTIPLIER, unless the source is the external data).
void TakeSourceOffsets(const HeadPose& raw, const TrackerAxes& axes, float multiplier);

// Continuous mode: the rates of the axes outside the selected slot's bounds stop, and the selected preset
// moves by the rates. The working pose keeps this frame's values, so the datarefs follow a frame later.
void MoveByContinuousRates();
// The working pose is written, within the bounds in force.
void WriteWorkingPose();
// The working pose plus the source's offsets is written, within the bounds in force.
void WriteTrackedPose();
// FORCES := this frame's force effects, and the working pose plus the offsets less the g-forces is written
// with the vibration on top (x, y, z within the bounds in force; the rotations only while tracking).
void WriteEffectsPose(float (&forces)[kForceOffsets]);

}  // namespace talvenor
