#include "tracker/trackir_client.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "config/bounded_text.h"
#include "config/log.h"
#include "os/library.h"
#include "os/os.h"

namespace talvenor {
namespace {

static_assert(std::endian::native == std::endian::little, "the tracker frame is read in place");

constexpr const char* kEntryNames[kNpEntries] = {"NP_RegisterWindowHandle",
                                                 "NP_UnregisterWindowHandle",
                                                 "NP_RegisterProgramProfileID",
                                                 "NP_QueryVersion",
                                                 "NP_RequestData",
                                                 "NP_GetData",
                                                 "NP_StartCursor",
                                                 "NP_StopCursor",
                                                 "NP_ReCenter",
                                                 "NP_StartDataTransmission",
                                                 "NP_StopDataTransmission"};
constexpr char kRegistryKey[] = "Software\\NaturalPoint\\NATURALPOINT\\NPClient Location";
constexpr char kNoPath[] = "Error";
constexpr std::size_t kFolderSize = 1024;  // a longer value is refused, never cut
constexpr std::size_t kLibraryPathSize = 256;
constexpr short kProgramProfileId = 11301;
constexpr short kAllSixFields = 119;
constexpr int kLibraryNotLoaded = 4;

void Log(const char* message) {
  LogMessage(message);
  LogMessage("\n");
}

// Calls the entry point with parameters of the ARGUMENTS' types, as the library declares them: 4 when the
// entry point is missing, else its own result.
template <typename... Arguments>
int Call(NpEntry entry, Arguments... arguments) {
  void* address = TrackerClient().entries[entry];
  if (address == nullptr) return kEntryMissing;
  return reinterpret_cast<int (*)(Arguments...)>(address)(arguments...);
}

float FloatAt(const unsigned char (&frame)[kTrackerFrameSize], int offset) {
  float value = 0.0f;
  std::memcpy(&value, frame + offset, sizeof value);
  return value;
}

std::uint16_t WordAt(const unsigned char (&frame)[kTrackerFrameSize], int offset) {
  std::uint16_t value = 0;
  std::memcpy(&value, frame + offset, sizeof value);
  return value;
}

void ReadTrackIrClientPath(char* out, std::size_t size) {
  char folder[kFolderSize];
  switch (os::ReadUserRegistryText(kRegistryKey, "Path", folder, sizeof folder)) {
    case os::RegistryText::kRead:
      // A folder that does not fit OUT is not cut into another folder's name.
      CopyBounded(out, size, std::strlen(folder) < size ? folder : kNoPath);
      return;
    case os::RegistryText::kNoKey:
      Log("TrackIR Interface : DLL Location key not present");
      break;
    case os::RegistryText::kNoValue:
      break;
    case os::RegistryText::kTooLong:
      Log("TrackIR Interface : Insufficient memory!");
      break;
    case os::RegistryText::kUnreadable:
      Log("TrackIR Interface : Error reading location key!");
      break;
  }
  CopyBounded(out, size, kNoPath);
}

int LoadTrackIrClient(const char* folder) {
  char path[kLibraryPathSize];
  std::size_t length = 0;
  path[0] = '\0';
  const bool fits = AppendBounded(path, sizeof path, length, folder) &&
                    (folder[0] == '\0' || AppendBounded(path, sizeof path, length, os::PathSeparator())) &&
                    AppendBounded(path, sizeof path, length, os::kTrackerLibraryFileName);
  if (!fits) {
    Log("TrackIR Interface : DLL path too long, not loaded");
    return kLibraryNotLoaded;
  }
  void* library = os::OpenLibrary(path, os::PathText::kUtf8);  // the registry's folder, as UTF-8
  if (library == nullptr) return kLibraryNotLoaded;
  TrackIrClient& client = TrackerClient();
  client.library = library;
  for (int entry = 0; entry < kNpEntries; ++entry) {
    client.entries[entry] = os::LibrarySymbol(library, kEntryNames[entry]);
    if (client.entries[entry] != nullptr) continue;
    char line[kLogMessageSize];
    (void)std::snprintf(line, sizeof line, "TrackIR Interface : the library has no %s", kEntryNames[entry]);
    Log(line);
  }
  return kTrackerOk;
}

}  // namespace

void KeepSystemWindow(std::intptr_t window) {
  TrackerClient().systemWindow = window;
}

int ConnectTrackIr() {
  TrackerClient().lastTrackerFrameNumber = 0;
  char folder[kFolderSize];
  ReadTrackIrClientPath(folder, sizeof folder);
  if (std::strcmp(folder, kNoPath) == 0) return 0;
  if (LoadTrackIrClient(folder) != kTrackerOk) {
    Log("Error initializing TrackIR Interface!!");
    return 0;
  }
  Log("TrackIR Interface -- Initialize OK.");
  if (Call(kNpRegisterWindowHandle, reinterpret_cast<void*>(TrackerClient().systemWindow)) != kTrackerOk) {
    Log("TrackIR Interface : Error registering window handle!!");
    return -1;
  }
  Log("TrackIR Interface : Window handle registration successful.");
  std::uint16_t version = 0;
  if (Call(kNpQueryVersion, &version) == kTrackerOk) {
    char line[64];
    (void)std::snprintf(line, sizeof line, "NaturalPoint software version is %d.%02d", version >> 8,
                        version & 0xFF);
    Log(line);
  } else {
    Log("TrackIR Interface : Error querying NaturalPoint software version!!");
  }
  Call(kNpRequestData, kAllSixFields);
  Call(kNpRegisterProgramProfileID, kProgramProfileId);
  Log(Call(kNpStopCursor) == kTrackerOk ? "TrackIR Interface : Cursor stopped"
                                        : "TrackIR Interface : Error stopping cursor");
  Log(Call(kNpStartDataTransmission) == kTrackerOk ? "TrackIR Interface : Data transmission started"
                                                   : "TrackIR Interface : Error starting data transmission");
  return 1;
}

void DisconnectTrackIr() {
  Call(kNpStopDataTransmission);
  Call(kNpUnregisterWindowHandle);
}

int ReadTrackIrPose(float* x, float* y, float* z, float* pitch, float* heading, float* roll) {
  unsigned char frame[kTrackerFrameSize] = {};
  const int result = Call(kNpGetData, static_cast<void*>(frame));
  if (result != kTrackerOk) return result;
  const std::uint16_t number = WordAt(frame, 2);
  if (WordAt(frame, 0) != 0 || number == TrackerClient().lastTrackerFrameNumber) return kNoNewData;
  const float values[6] = {FloatAt(frame, 20), FloatAt(frame, 24), FloatAt(frame, 28),
                           FloatAt(frame, 12), FloatAt(frame, 16), FloatAt(frame, 8)};
  // A frame with a value that is not finite is not taken, and its number not remembered, like a bad status.
  for (float value : values) {
    if (!std::isfinite(value)) return kNoNewData;
  }
  *x = values[0];
  *y = values[1];
  *z = values[2];
  *pitch = values[3];
  *heading = values[4];
  *roll = values[5];
  TrackerClient().lastTrackerFrameNumber = number;
  return kTrackerOk;
}

}  // namespace talvenor
