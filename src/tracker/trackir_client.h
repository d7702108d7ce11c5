// The TrackIR client: the tracker vendor's client library, found through the registry, loaded at run time
// and reached only through its NP_* entry points resolved by name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace talvenor {

// The entry points in the order they are resolved.
enum NpEntry {
  kNpRegisterWindowHandle,
  kNpUnregisterWindowHandle,
  kNpRegisterProgramProfileID,
  kNpQueryVersion,
  kNpRequestData,
  kNpGetData,
  kNpStartCursor,
  kNpStopCursor,
  kNpReCenter,
  kNpStartDataTransmission,
  kNpStopDataTransmission,
  kNpEntries
};

struct TrackIrClient {
  void* library = nullptr;                   // the loaded library; never released
  std::array<void*, kNpEntries> entries{};   // by NpEntry; null where the library lacks the entry point
  std::uint16_t lastTrackerFrameNumber = 0;  // the number of the last frame taken; 0 again at each connection
  std::intptr_t systemWindow = 0;            // the simulator's main window, handed over at each connection
};

// The client's record, kept in the plugin's state; only this subsystem writes it.
TrackIrClient& TrackerClient();
// Plugin start: the simulator's main window, which the library is given when it connects.
void KeepSystemWindow(std::intptr_t window);

// Results of the tracker side: 0 success, 4 entry point missing, 5 no new data.
inline constexpr int kTrackerOk = 0;
inline constexpr int kEntryMissing = 4;
inline constexpr int kNoNewData = 5;
inline constexpr int kTrackerFrameSize = 80;

// 1 connected and transmitting; 0 no library; -1 the library refused the simulator's window handle.
int ConnectTrackIr();
void DisconnectTrackIr();
// A pose in tracker units from a new valid frame (result 0), else 5 or the library's error result.
int ReadTrackIrPose(float* x, float* y, float* z, float* pitch, float* heading, float* roll);

}  // namespace talvenor
