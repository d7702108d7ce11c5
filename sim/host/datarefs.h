// Datarefs of the simulated host.
//
// Built-in datarefs carry X-Plane's names, types and writability; their start values are listed in
// datarefs.cpp (kBuiltins) and documented there. Behaviour where the SDK documentation is silent:
// - A read through a null or stale handle, or of a type the dataref does not have, gives 0; a write of
//   such a kind is ignored. Built-in datarefs have exactly one type (no float/double aliasing).
// - A plugin's write to a dataref that X-Plane publishes read-only is ignored; the driver API writes it.
// - Registering an accessor under a name that exists shadows the existing dataref until it is unregistered;
//   unregistering removes the name and leaves every handle to it stale (reads 0, writes ignored).
// - Array reads and writes are clipped to the array; a negative offset or count copies nothing.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "XPLMDataAccess.h"
#include "host.h"

namespace sim {

// One scalar read through the driver API, with the type it was read as.
struct DataValue {
  XPLMDataTypeID type = xplmType_Unknown;  // xplmType_Int, _Float or _Double (array elements: Int or Float)
  double value = 0;
};

class DataRefs {
 public:
  explicit DataRefs(Host& host);
  ~DataRefs();

  // Driver API. Names may carry an element index: "sim/flightmodel/engine/ENGN_N1_[2]".
  bool exists(std::string_view name) const;
  int types(std::string_view name) const;  // xplmType_ flags; 0 when unknown
  // The value (through the plugin's accessor when it registered one); nullopt when the name is unknown,
  // an index is out of range, or an array is read without an index.
  std::optional<DataValue> read(std::string_view name, std::optional<int> index = std::nullopt);
  // Writes one value, ignoring X-Plane's writability; false when unknown or out of range.
  bool write(std::string_view name, double value, std::optional<int> index = std::nullopt);
  // Writes a whole array from its first element; false when unknown or not an array.
  bool writeArray(std::string_view name, const std::vector<double>& values);
  int arraySize(std::string_view name) const;  // 0 for scalars and unknown names

  // Accessors registered by the plugin and not unregistered, one text per registration.
  std::vector<std::string> registrations(PluginId owner) const;

  // The C API (XPLMDataAccess.h) is implemented on top of these.
  struct Entry;
  Entry* find(std::string_view name) const;
  Entry* fromHandle(XPLMDataRef ref) const;

 private:
  Host& host_;
  std::vector<std::unique_ptr<Entry>> entries_;  // never shrinks: handles stay valid (stale) for the host's life
};

}  // namespace sim
