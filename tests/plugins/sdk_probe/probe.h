// The SDK probe: a plugin of our own, written against the SDK like any third-party plugin, that exercises
// each family of SDK functions and makes what it sees observable to scenario files (its own datarefs, widget
// captions, files under its plugin folder, its debugger output).
//
// All state lives in one Probe record, value-initialised at XPluginStart, so a start after a stop is a fresh
// load even when the library stays mapped.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "XPLMDataAccess.h"
#include "XPLMDisplay.h"
#include "XPLMMenus.h"
#include "XPLMProcessing.h"
#include "XPLMUtilities.h"
#include "XPWidgetDefs.h"

namespace probe {

inline constexpr const char* kName = "SDK Probe";
inline constexpr const char* kSignature = "talvenor.tests.sdk_probe";
inline constexpr const char* kEditorSignature = "xplanesdk.examples.DataRefEditor";
inline constexpr int kEditorAddDataRef = 0x01000000;
inline constexpr std::size_t kPathSize = 1024;

// One published dataref: where its value lives and what the accessors do with it.
struct Binding {
  const char* name = nullptr;
  XPLMDataRef ref = nullptr;
  int* ints = nullptr;      // int or int array
  float* floats = nullptr;  // float or float array
  int count = 0;            // array length; 0 for scalars
  struct DataBuffer* data = nullptr;
  void (*onRead)() = nullptr;   // refreshes a value the probe computes when asked
  void (*onWrite)() = nullptr;  // acts on a value written by anyone
  int reads = 0;
  int writes = 0;
};

struct DataBuffer {
  std::array<char, 256> bytes{};
  int length = 0;
};

// Results of the checks the probe makes of the host from the plugin's side: -1 until a check ran (-2 where
// -1 is an answer).
struct Checks {
  // datarefs
  int nullReadInt = -1, nullReadFloat = -1, unknownFound = -1, wrongTypeRead = -1, headTypes = -1,
      viewTypeTypes = -1, arrayLength = -1, arrayClipped = -1, ownRoundTrip = -1, ownWritesCounted = -1,
      canWriteHead = -1, canWriteReadOnly = -1, dataLength = -1, tempBefore = -1, tempAfter = -1,
      tempFoundAfter = -1, readOnlyWriteIgnored = -1, negativeOffsetCopied = -1;
  // the simulator's view: who may write its type, which commands change it, the main window's handle
  int canWriteViewType = -1, viewTypeWriteTaken = -1, viewCommandsSelect = -1, panFound = -1, rotFound = -1,
      windowLow = -1, windowHigh = -1;
  // commands
  int createExistingSame = -1, unknownCommandFound = -1, builtinFound = -1;
  // plugins
  int myId = -1, selfBySignature = -1, unknownSignature = -2, pluginCount = -1;
  int findSymbolKnown = -1, findSymbolMatches = -1, findSymbolUnknown = -1;
  int libraryOffersFindSymbol = -1, libraryKnown = -1, libraryUnknown = -1;
  // widgets
  int missingPropertyExists = -1, missingPropertyValue = -1, setPropertyExists = -1, setPropertyValue = -1,
      destroyedDescriptorLength = -1, destroyedVisible = -1, destroyedPropertyExists = -1, nullVisible = -1;
};

struct TrackerResults {
  int found = -1, loaded = 0, entries = 0, version = -1, startResult = -1, getResult = -1, status = -1,
      number = -1;
};

struct Probe {
  std::array<Binding, 160> bindings{};
  int bindingCount = 0;

  // lifecycle and messages
  int enabled = 0, enableCalls = 0, disableCalls = 0;
  int messages = 0, planeLoaded = 0, lastPlaneIndex = -1, lastMessage = 0, lastSender = -1;
  bool leak = false;

  // datarefs of our own
  int intValue = 0;
  float floatValue = 0;
  std::array<float, 8> floatArray{};
  std::array<int, 4> intArray{};
  DataBuffer data;
  int readOnlyInt = 42;
  Binding* intValueBinding = nullptr;
  DataBuffer systemPath, aircraftPath;

  // flight loops
  int loopCalls = 0, loopCounter = 0, cycleNumber = 0, spawnRequested = 0, spawnCalls = 0, spawnLimit = 3;
  float loopInterval = 0.1f, loopElapsed = 0, loopSinceLast = 0, elapsedTime = 0;
  int headWriter = 0, headWrites = 0;
  bool headLoopRegistered = false, spawnRegistered = false;
  std::array<XPLMDataRef, 6> headRefs{};

  // commands
  XPLMCommandRef left = nullptr, count = nullptr;
  std::array<XPLMCommandRef, 24> ownCommands{};
  int ownCommandCount = 0;
  int leftResult = 1, countResult = 1;
  std::array<int, 3> leftBefore{}, leftAfter{}, countBefore{}, countAfter{};

  // menus and hotkeys
  int pluginsItem = -1;
  XPLMMenuID menu = nullptr;
  std::array<int, 7> menuIndex{};
  int menuItems = 0;
  bool countDisabled = false;
  int menuPicks = 0, lastMenuItem = -1, menuRefOk = -1, menuChecked = -1;
  // count (F8 down), window (P with SHIFT+CONTROL down), release (F8 up), repeat (F8 held)
  std::array<XPLMHotKeyID, 4> hotkeys{};
  std::array<int, 4> hotkeyCalls{};
  int hotkeyRefconOk = -1;

  // plugins and messages
  int editorId = -2, announced = 0;

  // widgets
  XPWidgetID window = nullptr, button = nullptr, checkBox = nullptr, textField = nullptr, caption = nullptr;
  int buttonPresses = 0, checkBoxState = 0, checkBoxOwnCalls = 0, checkBoxProperty = -1, textChanges = 0,
      textLength = -1, textSmallTerminated = -1, textOverrun = -1, closePushes = 0;
  int windowVisible = 0, buttonVisible = 0;

  // files and debug output
  int fileResult = -1, fileErrno = 0, fileWrites = 0, saveResult = -1, removeResult = -1, debugLines = 0;

  // tracker client
  TrackerResults tracker;
  void* trackerLibrary = nullptr;
  std::array<void*, 11> trackerEntries{};
  std::array<float, 6> trackerPose{};  // roll, pitch, heading, x, y, z of the last frame read

  Checks checks;
};

Probe& State();

// Composes into a fixed buffer; false (and an empty buffer) when the text does not fit.
bool Compose(char* out, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
// The plugin's folder (with a trailing separator) and a file in it.
bool PluginFolder(char* out, std::size_t size);
bool PluginFile(const char* name, char* out, std::size_t size);
// Writes a line to the debugger output (standard error; OutputDebugString on Windows).
void Debug(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Publishing and withdrawing the probe's datarefs (probe_datarefs.cpp).
Binding* PublishInt(const char* name, int* value, bool writable, void (*onWrite)() = nullptr);
Binding* PublishComputedInt(const char* name, int* value, void (*onRead)());
Binding* PublishFloat(const char* name, float* value, bool writable, void (*onWrite)() = nullptr);
Binding* PublishIntArray(const char* name, int* values, int count, bool writable);
Binding* PublishFloatArray(const char* name, float* values, int count, bool writable);
Binding* PublishData(const char* name, DataBuffer* data, bool writable);
void PublishAll();
void UpdatePathData();
void WithdrawAll();
void CheckDataRefs();
void SetData(DataBuffer& buffer, const char* text);

// Each family's setup, teardown and commands.
void StartLoops();
void StopLoops();
void SetHeadWriter(int on);
void RequestSpawn();
void RescheduleLoop();

void StartCommands();
void StopCommands();

void StartMenus();
void StopMenus();
void RemoveLastMenuItem();
void StartHotkeys();
void StopHotkeys();
void RemapHotkey();

void AnnounceToEditor();
void CheckPlugins();
void WritePaths();
void EnableNativePaths();
void ReceiveMessage(XPLMPluginID from, int message, void* param);

void ToggleWindow();
void RefreshVisibility();
void DestroyWindow();
void StopWidgets();

void ConnectTracker();
void ReadTracker();
void DisconnectTracker();

void WriteFile();
void SaveAtomically();
void RemoveFile();
void WriteDebugLine();

}  // namespace probe
