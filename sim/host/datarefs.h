// Datarefs of the simulated host.
//
// Built-in datarefs carry X-Plane 12's names, types, sizes and writability, as the simulator's own
// DataRefs.txt lists them (the table kBuiltins in datarefs_table.cpp; a test holds it against
// xplane12-facts.md). "writable" is what XPLMCanWriteDataRef reports to a plugin. Start values, as a fresh
// host has them:
//
//   sim/graphics/view/pilots_head_x            float     writable   -0.3   (m, right of the centre line)
//   sim/graphics/view/pilots_head_y            float     writable    1.0   (m, up)
//   sim/graphics/view/pilots_head_z            float     writable   -4.0   (m, aft; negative is forward)
//   sim/graphics/view/pilots_head_psi          float     writable    0.0   (deg)
//   sim/graphics/view/pilots_head_the          float     writable    0.0   (deg)
//   sim/graphics/view/pilots_head_phi          float     writable    0.0   (deg)
//   sim/graphics/view/field_of_view_roll_deg   float     writable    0.0   (deg)
//   sim/graphics/view/view_type                int       read-only  1026   (3-D cockpit; writable in the
//                                                                           older simulator)
//   sim/flightmodel/forces/g_nrml              float     read-only   1.0
//   sim/flightmodel/forces/g_axil              float     read-only   0.0
//   sim/flightmodel/forces/g_side              float     read-only   0.0
//   sim/flightmodel/position/groundspeed       float     read-only   0.0   (m/s)
//   sim/flightmodel/position/y_agl             float     read-only   0.0   (m)
//   sim/flightmodel/failures/onground_any      int       writable    1
//   sim/flightmodel/engine/ENGN_N1_            float[16] writable    0.0 each
//   sim/flightmodel/engine/POINT_tacrad        float[16] writable    0.0 each
//   sim/aircraft/prop/acf_en_type              int[16]   read-only   0 each
//   sim/operation/windows/system_window        int       read-only   0x1234 (the low 32 bits of the handle)
//   sim/operation/windows/system_window_64     int[2]    read-only   0x1234, 0x2 (a stand-in window handle
//                                                                           0x200001234, low 32 bits first)
//   sim/time/framerate_period                  float     read-only   follows 1 / Host::fps()
//   sim/time/total_running_time_sec            float     writable    follows Host::time(); a write sets it,
//                                                                    and it runs on from there
//
// The view commands (commands.h) change view_type as the simulator's own action, so a plugin selects a view
// in X-Plane 12 by running one of them.
//
// Behaviour where the SDK documentation is silent:
// - A read through a null or stale handle, or of a type the dataref does not have, gives 0; a write of
//   such a kind is ignored. Built-in datarefs have exactly one type (no float/double aliasing).
// - A plugin's write to a dataref that X-Plane publishes read-only is ignored; the driver API writes it, as
//   the simulator itself or the user changes it (except sim/time/framerate_period, which follows fps). A
//   write to an accessor registered as not writable is ignored for plugins; the driver API calls its write
//   accessor all the same.
// - Registering an accessor under a name that exists shadows the existing dataref until it is unregistered:
//   lookups by name find the newest registration, handles found before keep addressing what they found.
//   Unregistering removes the name (the shadowed dataref, if any, is found again) and leaves every handle
//   to the accessor stale (reads 0, writes ignored, XPLMIsDataRefGood 0).
// - Array reads and writes of built-in arrays are clipped to the array; a negative offset or count copies
//   nothing. Accessors receive the arguments as the plugin gave them, since the provider defines an
//   array dataref's behaviour.
// - Every read and write of a registered accessor, by a plugin or through the driver API, calls the
//   accessor inside Host::PluginCall for the plugin that registered it, unless that plugin is disabled
//   (host.h, "A disabled plugin") and its own code is not running: then a read gives 0 (an array read 0
//   values, its length too) and a write is lost.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "XPLMDataAccess.h"
#include "host.h"

namespace sim {

// The stand-in handle of the simulator's main window, in two 32-bit halves.
inline constexpr int kSystemWindowLow = 0x1234;
inline constexpr int kSystemWindowHigh = 0x2;

// One scalar read through the driver API, with the type it was read as.
struct DataValue {
  XPLMDataTypeID type = xplmType_Unknown;  // xplmType_Int, _Float or _Double (array elements: Int or Float)
  double value = 0;
};

class DataRefs {
 public:
  explicit DataRefs(Host& host);
  ~DataRefs();

  // Driver API. Names may carry an element index: "sim/flightmodel/engine/ENGN_N1_[2]"; an explicit index
  // and one in the name must agree.
  bool exists(std::string_view name) const;  // with an index: the element exists
  int types(std::string_view name) const;    // xplmType_ flags of the dataref; 0 when unknown
  // The value (through the plugin's accessor when it registered one); nullopt when the name is unknown,
  // an index is out of range, or an array is read without an index. A dataref of several types is read
  // as int, else float, else double; an array element as float, else int.
  std::optional<DataValue> read(std::string_view name, std::optional<int> index = std::nullopt);
  // Writes one value, ignoring X-Plane's writability; false when unknown, out of range, nothing can take
  // the value (no write accessor) or an int dataref is given a value that is not a whole int.
  bool write(std::string_view name, double value, std::optional<int> index = std::nullopt);
  // Writes a whole array from its first element; false when unknown, not an array, or given more values
  // than the array holds (then nothing is written).
  bool writeArray(std::string_view name, const std::vector<double>& values);
  int arraySize(std::string_view name) const;  // 0 for scalars and unknown names
  // The names of X-Plane's own datarefs that the host publishes.
  static std::vector<std::string> builtinNames();
  // The simulator no longer publishes its dataref NAME, as a simulator version without it: lookups find
  // nothing and handles found before are stale (reads 0, writes ignored). False when NAME is not one of the
  // simulator's own datarefs that is still published.
  bool withdraw(std::string_view name);

  // Accessors registered by the plugin and not unregistered, one text per registration
  // ("data accessor NAME").
  std::vector<std::string> registrations(PluginId owner) const;
  void removePlugin(PluginId owner);  // the plugin is unloaded: its accessors go, their handles go stale

  // What a host checkpoint keeps of them, and putting it back (host.h, Host::Checkpoint).
  struct Saved;
  std::shared_ptr<const Saved> save() const;
  void restore(const Saved& saved);
  // The C API (XPLMDataAccess.h) is implemented on top of these. Registration is attributed to
  // Host::caller().
  struct Entry;
  Entry* find(std::string_view name) const;  // the newest live dataref of that name
  Entry* fromHandle(XPLMDataRef ref) const;  // null for a handle this host never gave out
  // A plugin's callbacks, in XPLMRegisterDataAccessor's order.
  struct Accessors {
    XPLMGetDatai_f readInt = nullptr;
    XPLMSetDatai_f writeInt = nullptr;
    XPLMGetDataf_f readFloat = nullptr;
    XPLMSetDataf_f writeFloat = nullptr;
    XPLMGetDatad_f readDouble = nullptr;
    XPLMSetDatad_f writeDouble = nullptr;
    XPLMGetDatavi_f readIntArray = nullptr;
    XPLMSetDatavi_f writeIntArray = nullptr;
    XPLMGetDatavf_f readFloatArray = nullptr;
    XPLMSetDatavf_f writeFloatArray = nullptr;
    XPLMGetDatab_f readData = nullptr;
    XPLMSetDatab_f writeData = nullptr;
    void* readRefcon = nullptr;
    void* writeRefcon = nullptr;
  };
  XPLMDataRef registerAccessor(const char* name, XPLMDataTypeID types, int writable,
                               const Accessors& accessors);
  void unregisterAccessor(XPLMDataRef ref);

 private:
  Host& host_;
  std::vector<std::unique_ptr<Entry>>
      entries_;                              // never shrinks: handles stay valid (stale) for the host's life
  std::unordered_set<const void*> handles_;  // every handle given out, to tell them from garbage
};

}  // namespace sim
