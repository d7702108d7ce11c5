#include "datarefs.h"

#include "c_guard.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace sim {
namespace {

enum class Source { Stored, RunningTime, FramePeriod, Accessor };

// Whether a plugin may write a built-in dataref.
enum class Writable { No, Yes, OnOlderSimulator };

struct Builtin {
  const char* name;
  XPLMDataTypeID type;
  Writable writable;
  int size;      // elements of an array; 1 for a scalar
  double start;  // of every element
  Source source;
};

constexpr auto kYes = Writable::Yes;
constexpr auto kNo = Writable::No;

// X-Plane's own datarefs that the host publishes; the start values are documented in datarefs.h.
constexpr Builtin kBuiltins[] = {
    {"sim/graphics/view/pilots_head_x", xplmType_Float, kYes, 1, -0.3, Source::Stored},
    {"sim/graphics/view/pilots_head_y", xplmType_Float, kYes, 1, 1.0, Source::Stored},
    {"sim/graphics/view/pilots_head_z", xplmType_Float, kYes, 1, -4.0, Source::Stored},
    {"sim/graphics/view/pilots_head_psi", xplmType_Float, kYes, 1, 0.0, Source::Stored},
    {"sim/graphics/view/pilots_head_the", xplmType_Float, kYes, 1, 0.0, Source::Stored},
    {"sim/graphics/view/pilots_head_phi", xplmType_Float, kYes, 1, 0.0, Source::Stored},
    {"sim/graphics/view/field_of_view_roll_deg", xplmType_Float, kYes, 1, 0.0, Source::Stored},
    {"sim/graphics/view/view_type", xplmType_Int, Writable::OnOlderSimulator, 1, 1026, Source::Stored},
    {"sim/flightmodel/forces/g_nrml", xplmType_Float, kNo, 1, 1.0, Source::Stored},
    {"sim/flightmodel/forces/g_axil", xplmType_Float, kNo, 1, 0.0, Source::Stored},
    {"sim/flightmodel/forces/g_side", xplmType_Float, kNo, 1, 0.0, Source::Stored},
    {"sim/flightmodel/position/groundspeed", xplmType_Float, kNo, 1, 0.0, Source::Stored},
    {"sim/flightmodel/position/y_agl", xplmType_Float, kNo, 1, 0.0, Source::Stored},
    {"sim/flightmodel/failures/onground_any", xplmType_Int, kYes, 1, 1, Source::Stored},
    {"sim/flightmodel/engine/ENGN_N1_", xplmType_FloatArray, kYes, 16, 0.0, Source::Stored},
    {"sim/flightmodel/engine/POINT_tacrad", xplmType_FloatArray, kYes, 16, 0.0, Source::Stored},
    {"sim/aircraft/prop/acf_en_type", xplmType_IntArray, kNo, 16, 0, Source::Stored},
    {"sim/operation/windows/system_window", xplmType_Int, kNo, 1, kSystemWindowLow, Source::Stored},
    {"sim/operation/windows/system_window_64", xplmType_IntArray, kNo, 2, 0, Source::Stored},
    {"sim/time/framerate_period", xplmType_Float, kNo, 1, 0.0, Source::FramePeriod},
    {"sim/time/total_running_time_sec", xplmType_Float, kYes, 1, 0.0, Source::RunningTime},
};

// Splits "NAME[i]" into NAME and i. A name without brackets has no index; malformed brackets give false.
bool SplitIndex(std::string_view full, std::string_view* name, std::optional<int>* index) {
  *name = full;
  index->reset();
  if (full.empty() || full.back() != ']') return true;
  const auto open = full.rfind('[');
  if (open == std::string_view::npos) return false;
  const std::string_view digits = full.substr(open + 1, full.size() - open - 2);
  int value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc{} || end != digits.data() + digits.size() || value < 0) return false;
  *name = full.substr(0, open);
  *index = value;
  return true;
}

// Combines an index in the name with an explicit one; false when they disagree.
bool MergeIndex(std::optional<int> fromName, std::optional<int> given, std::optional<int>* out) {
  if (fromName && given && *fromName != *given) return false;
  *out = given ? given : fromName;
  return true;
}

bool WholeInt(double value, int* out) {
  if (!std::isfinite(value) || value != std::trunc(value)) return false;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return false;
  *out = static_cast<int>(value);
  return true;
}

}  // namespace

struct DataRefs::Entry {
  Entry(Host& h, std::string n, XPLMDataTypeID t, bool w, Source s)
      : host(h), name(std::move(n)), types(t), writable(w), source(s) {}

  Host& host;
  std::string name;
  XPLMDataTypeID types;
  bool writable;
  Source source;
  bool writableOnOlder = false;  // view_type: a plugin may write it only in the older simulator
  bool live = true;
  double runningTimeOffset = 0;  // what a write to the running time moved it by
  std::vector<double> values;    // stored built-ins: one per element
  PluginId owner = kSimulatorId;
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

  bool accessor() const { return source == Source::Accessor; }
  bool has(XPLMDataTypeID type) const { return live && (types & type) != 0; }
  // May this writer change the value? Plugins obey X-Plane's writability, the driver does not.
  bool mayWrite(XPLMDataTypeID type, bool byPlugin) const {
    if (!has(type)) return false;
    if (source == Source::FramePeriod) return false;
    return !byPlugin || writable || (writableOnOlder && host.simulator() == Simulator::Older);
  }

  double stored(std::size_t i) const {
    switch (source) {
      case Source::RunningTime:
        return host.time() + runningTimeOffset;
      case Source::FramePeriod:
        return 1.0 / host.fps();
      default:
        return values[i];
    }
  }

  // Calls plugin code as the plugin that registered the accessor; a disabled plugin's is not called: a read
  // gives 0, a write is lost.
  template <typename Fn, typename... Args>
  auto call(Fn fn, Args... args) const {
    using Result = decltype(fn(args...));
    if (!host.delivers(owner)) {
      if constexpr (std::is_void_v<Result>) {
        return;
      } else {
        return Result{};
      }
    }
    Host::PluginCall guard(host, owner);
    return fn(args...);
  }

  int getInt() const {
    if (!has(xplmType_Int)) return 0;
    if (!accessor()) return static_cast<int>(stored(0));
    return readInt != nullptr ? call(readInt, readRefcon) : 0;
  }
  float getFloat() const {
    if (!has(xplmType_Float)) return 0;
    if (!accessor()) return static_cast<float>(stored(0));
    return readFloat != nullptr ? call(readFloat, readRefcon) : 0;
  }
  double getDouble() const {
    if (!has(xplmType_Double)) return 0;
    if (!accessor()) return stored(0);
    return readDouble != nullptr ? call(readDouble, readRefcon) : 0;
  }

  template <typename T>
  int getStoredArray(XPLMDataTypeID type, T* out, int offset, int max) const {
    if (!has(type)) return 0;
    const int size = static_cast<int>(values.size());
    if (out == nullptr) return size;
    if (offset < 0 || max < 0 || offset >= size) return 0;
    const int count = std::min(max, size - offset);
    for (int i = 0; i < count; ++i) out[i] = static_cast<T>(values[static_cast<std::size_t>(offset + i)]);
    return count;
  }
  int getIntArray(int* out, int offset, int max) const {
    if (!accessor()) return getStoredArray(xplmType_IntArray, out, offset, max);
    if (!has(xplmType_IntArray) || readIntArray == nullptr) return 0;
    return call(readIntArray, readRefcon, out, offset, max);
  }
  int getFloatArray(float* out, int offset, int max) const {
    if (!accessor()) return getStoredArray(xplmType_FloatArray, out, offset, max);
    if (!has(xplmType_FloatArray) || readFloatArray == nullptr) return 0;
    return call(readFloatArray, readRefcon, out, offset, max);
  }
  int getData(void* out, int offset, int max) const {
    if (!accessor() || !has(xplmType_Data) || readData == nullptr) return 0;
    return call(readData, readRefcon, out, offset, max);
  }

  bool setInt(int value, bool byPlugin) {
    if (!mayWrite(xplmType_Int, byPlugin)) return false;
    if (!accessor()) {
      values[0] = value;
      return true;
    }
    if (writeInt == nullptr) return false;
    call(writeInt, writeRefcon, value);
    return true;
  }
  bool setFloat(float value, bool byPlugin) {
    if (!mayWrite(xplmType_Float, byPlugin)) return false;
    if (source == Source::RunningTime) {
      // The clock runs on from the value written, as X-Plane's does.
      runningTimeOffset = static_cast<double>(value) - host.time();
      return true;
    }
    if (!accessor()) {
      values[0] = value;
      return true;
    }
    if (writeFloat == nullptr) return false;
    call(writeFloat, writeRefcon, value);
    return true;
  }
  bool setDouble(double value, bool byPlugin) {
    if (!mayWrite(xplmType_Double, byPlugin)) return false;
    if (!accessor()) {
      values[0] = value;
      return true;
    }
    if (writeDouble == nullptr) return false;
    call(writeDouble, writeRefcon, value);
    return true;
  }

  template <typename T>
  bool setStoredArray(const T* in, int offset, int count) {
    const int size = static_cast<int>(values.size());
    if (in == nullptr || offset < 0 || count < 0 || offset >= size) return false;
    const int n = std::min(count, size - offset);
    for (int i = 0; i < n; ++i) values[static_cast<std::size_t>(offset + i)] = in[i];
    return true;
  }
  bool setIntArray(int* in, int offset, int count, bool byPlugin) {
    if (!mayWrite(xplmType_IntArray, byPlugin)) return false;
    if (!accessor()) return setStoredArray(in, offset, count);
    if (writeIntArray == nullptr) return false;
    call(writeIntArray, writeRefcon, in, offset, count);
    return true;
  }
  bool setFloatArray(float* in, int offset, int count, bool byPlugin) {
    if (!mayWrite(xplmType_FloatArray, byPlugin)) return false;
    if (!accessor()) return setStoredArray(in, offset, count);
    if (writeFloatArray == nullptr) return false;
    call(writeFloatArray, writeRefcon, in, offset, count);
    return true;
  }
  bool setData(void* in, int offset, int count, bool byPlugin) {
    if (!accessor() || !mayWrite(xplmType_Data, byPlugin) || writeData == nullptr) return false;
    call(writeData, writeRefcon, in, offset, count);
    return true;
  }

  // The array the driver addresses by element: float before int.
  XPLMDataTypeID arrayType() const {
    if (has(xplmType_FloatArray)) return xplmType_FloatArray;
    if (has(xplmType_IntArray)) return xplmType_IntArray;
    return xplmType_Unknown;
  }
  int size() const {
    switch (arrayType()) {
      case xplmType_FloatArray:
        return getFloatArray(nullptr, 0, 0);
      case xplmType_IntArray:
        return getIntArray(nullptr, 0, 0);
      default:
        return 0;
    }
  }
};

DataRefs::DataRefs(Host& host) : host_(host) {
  for (const Builtin& builtin : kBuiltins) {
    auto entry = std::make_unique<Entry>(host_, builtin.name, builtin.type, builtin.writable == Writable::Yes,
                                         builtin.source);
    entry->writableOnOlder = builtin.writable == Writable::OnOlderSimulator;
    entry->values.assign(static_cast<std::size_t>(builtin.size), builtin.start);
    handles_.insert(entry.get());
    entries_.push_back(std::move(entry));
  }
  // The 64-bit window handle, low 32 bits first.
  find("sim/operation/windows/system_window_64")->values = {kSystemWindowLow, kSystemWindowHigh};
}

DataRefs::~DataRefs() = default;

// Of each dataref what a session changes: whether it is published, and the values the host stores.
struct DataRefs::Saved {
  struct State {
    bool live = true;
    double runningTimeOffset = 0;
    std::vector<double> values;
  };
  std::vector<State> entries;
};

std::shared_ptr<const DataRefs::Saved> DataRefs::save() const {
  auto saved = std::make_shared<Saved>();
  for (const auto& entry : entries_)
    saved->entries.push_back({entry->live, entry->runningTimeOffset, entry->values});
  return saved;
}

void DataRefs::restore(const Saved& saved) {
  // Datarefs registered since go with their handles: nothing the checkpoint's state holds refers to them.
  for (std::size_t i = saved.entries.size(); i < entries_.size(); ++i) handles_.erase(entries_[i].get());
  entries_.resize(saved.entries.size());
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    Entry& entry = *entries_[i];
    const Saved::State& state = saved.entries[i];
    entry.live = state.live;
    entry.runningTimeOffset = state.runningTimeOffset;
    if (entry.values != state.values) entry.values = state.values;
  }
}

std::vector<std::string> DataRefs::builtinNames() {
  std::vector<std::string> names;
  for (const Builtin& builtin : kBuiltins) names.emplace_back(builtin.name);
  return names;
}

bool DataRefs::withdraw(std::string_view name) {
  Entry* entry = find(name);
  if (entry == nullptr || entry->accessor()) return false;
  entry->live = false;
  return true;
}

DataRefs::Entry* DataRefs::find(std::string_view name) const {
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    if ((*it)->live && (*it)->name == name) return it->get();
  }
  return nullptr;
}

DataRefs::Entry* DataRefs::fromHandle(XPLMDataRef ref) const {
  if (ref == nullptr || handles_.count(ref) == 0) return nullptr;
  return static_cast<Entry*>(ref);
}

XPLMDataRef DataRefs::registerAccessor(const char* name, XPLMDataTypeID types, int writable,
                                       XPLMGetDatai_f readInt, XPLMSetDatai_f writeInt,
                                       XPLMGetDataf_f readFloat, XPLMSetDataf_f writeFloat,
                                       XPLMGetDatad_f readDouble, XPLMSetDatad_f writeDouble,
                                       XPLMGetDatavi_f readIntArray, XPLMSetDatavi_f writeIntArray,
                                       XPLMGetDatavf_f readFloatArray, XPLMSetDatavf_f writeFloatArray,
                                       XPLMGetDatab_f readData, XPLMSetDatab_f writeData, void* readRefcon,
                                       void* writeRefcon) {
  if (name == nullptr || *name == '\0') return nullptr;
  auto entry = std::make_unique<Entry>(host_, name, types, writable != 0, Source::Accessor);
  entry->owner = host_.caller();
  entry->readInt = readInt;
  entry->writeInt = writeInt;
  entry->readFloat = readFloat;
  entry->writeFloat = writeFloat;
  entry->readDouble = readDouble;
  entry->writeDouble = writeDouble;
  entry->readIntArray = readIntArray;
  entry->writeIntArray = writeIntArray;
  entry->readFloatArray = readFloatArray;
  entry->writeFloatArray = writeFloatArray;
  entry->readData = readData;
  entry->writeData = writeData;
  entry->readRefcon = readRefcon;
  entry->writeRefcon = writeRefcon;
  Entry* handle = entry.get();
  handles_.insert(handle);
  entries_.push_back(std::move(entry));
  return handle;
}

void DataRefs::unregisterAccessor(XPLMDataRef ref) {
  Entry* entry = fromHandle(ref);
  if (entry != nullptr && entry->accessor()) entry->live = false;
}

bool DataRefs::exists(std::string_view full) const {
  std::string_view name;
  std::optional<int> index;
  if (!SplitIndex(full, &name, &index)) return false;
  const Entry* entry = find(name);
  if (entry == nullptr) return false;
  return !index || *index < entry->size();
}

int DataRefs::types(std::string_view full) const {
  std::string_view name;
  std::optional<int> index;
  if (!SplitIndex(full, &name, &index)) return 0;
  const Entry* entry = find(name);
  return entry != nullptr ? entry->types : 0;
}

int DataRefs::arraySize(std::string_view full) const {
  std::string_view name;
  std::optional<int> index;
  if (!SplitIndex(full, &name, &index)) return 0;
  const Entry* entry = find(name);
  return entry != nullptr ? entry->size() : 0;
}

std::optional<DataValue> DataRefs::read(std::string_view full, std::optional<int> given) {
  std::string_view name;
  std::optional<int> fromName;
  std::optional<int> index;
  if (!SplitIndex(full, &name, &fromName) || !MergeIndex(fromName, given, &index)) return std::nullopt;
  const Entry* entry = find(name);
  if (entry == nullptr) return std::nullopt;
  if (index) {
    if (*index < 0 || *index >= entry->size()) return std::nullopt;
    if (entry->arrayType() == xplmType_FloatArray) {
      float value = 0;
      if (entry->getFloatArray(&value, *index, 1) != 1) return std::nullopt;
      return DataValue{xplmType_Float, value};
    }
    int value = 0;
    if (entry->getIntArray(&value, *index, 1) != 1) return std::nullopt;
    return DataValue{xplmType_Int, static_cast<double>(value)};
  }
  // An accessor may declare a type without supplying its reader; read the first one it can answer.
  auto readable = [entry](XPLMDataTypeID type, bool hasReader) {
    return entry->has(type) && (!entry->accessor() || hasReader);
  };
  if (readable(xplmType_Int, entry->readInt != nullptr)) {
    return DataValue{xplmType_Int, static_cast<double>(entry->getInt())};
  }
  if (readable(xplmType_Float, entry->readFloat != nullptr))
    return DataValue{xplmType_Float, entry->getFloat()};
  if (readable(xplmType_Double, entry->readDouble != nullptr)) {
    return DataValue{xplmType_Double, entry->getDouble()};
  }
  return std::nullopt;
}

bool DataRefs::write(std::string_view full, double value, std::optional<int> given) {
  std::string_view name;
  std::optional<int> fromName;
  std::optional<int> index;
  if (!SplitIndex(full, &name, &fromName) || !MergeIndex(fromName, given, &index)) return false;
  Entry* entry = find(name);
  if (entry == nullptr) return false;
  if (index) {
    if (*index < 0 || *index >= entry->size()) return false;
    if (entry->arrayType() == xplmType_FloatArray) {
      float element = static_cast<float>(value);
      return entry->setFloatArray(&element, *index, 1, false);
    }
    int element = 0;
    return WholeInt(value, &element) && entry->setIntArray(&element, *index, 1, false);
  }
  // As for reads, an accessor is written through the first type it supplies a writer for.
  auto writable = [entry](XPLMDataTypeID type, bool hasWriter) {
    return entry->has(type) && (!entry->accessor() || hasWriter);
  };
  if (writable(xplmType_Int, entry->writeInt != nullptr)) {
    int whole = 0;
    return WholeInt(value, &whole) && entry->setInt(whole, false);
  }
  if (writable(xplmType_Float, entry->writeFloat != nullptr))
    return entry->setFloat(static_cast<float>(value), false);
  if (writable(xplmType_Double, entry->writeDouble != nullptr)) return entry->setDouble(value, false);
  return false;
}

bool DataRefs::writeArray(std::string_view full, const std::vector<double>& values) {
  std::string_view name;
  std::optional<int> index;
  if (!SplitIndex(full, &name, &index) || index) return false;
  Entry* entry = find(name);
  if (entry == nullptr || values.size() > static_cast<std::size_t>(entry->size())) return false;
  const int count = static_cast<int>(values.size());
  if (entry->arrayType() == xplmType_FloatArray) {
    std::vector<float> floats(values.begin(), values.end());
    return entry->setFloatArray(floats.data(), 0, count, false);
  }
  if (entry->arrayType() == xplmType_IntArray) {
    std::vector<int> ints(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!WholeInt(values[i], &ints[i])) return false;
    }
    return entry->setIntArray(ints.data(), 0, count, false);
  }
  return false;
}

void DataRefs::removePlugin(PluginId owner) {
  for (const auto& entry : entries_) {
    if (entry->accessor() && entry->owner == owner) entry->live = false;
  }
}

std::vector<std::string> DataRefs::registrations(PluginId owner) const {
  std::vector<std::string> result;
  for (const auto& entry : entries_) {
    if (entry->accessor() && entry->live && entry->owner == owner)
      result.push_back("data accessor " + entry->name);
  }
  return result;
}

}  // namespace sim

using sim::DataRefs;
using sim::Host;

namespace {
DataRefs::Entry* Resolve(Host& host, XPLMDataRef ref) {
  return host.datarefs().fromHandle(ref);
}
}  // namespace

XPLM_API XPLMDataRef XPLMFindDataRef(const char* inDataRefName) {
  return sim::WithHost<XPLMDataRef>(nullptr, [&](Host& host) -> XPLMDataRef {
    if (inDataRefName == nullptr) return nullptr;
    return host.datarefs().find(inDataRefName);
  });
}

XPLM_API int XPLMCanWriteDataRef(XPLMDataRef inDataRef) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    if (entry == nullptr || !entry->live) return 0;
    return entry->mayWrite(entry->types, true) ? 1 : 0;
  });
}

XPLM_API int XPLMIsDataRefGood(XPLMDataRef inDataRef) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr && entry->live ? 1 : 0;
  });
}

XPLM_API XPLMDataTypeID XPLMGetDataRefTypes(XPLMDataRef inDataRef) {
  return sim::WithHost<XPLMDataTypeID>(xplmType_Unknown, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr && entry->live ? entry->types : xplmType_Unknown;
  });
}

XPLM_API int XPLMGetDatai(XPLMDataRef inDataRef) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getInt() : 0;
  });
}

XPLM_API void XPLMSetDatai(XPLMDataRef inDataRef, int inValue) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef)) entry->setInt(inValue, true);
  });
}

XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef) {
  return sim::WithHost(0.0f, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getFloat() : 0.0f;
  });
}

XPLM_API void XPLMSetDataf(XPLMDataRef inDataRef, float inValue) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef)) entry->setFloat(inValue, true);
  });
}

XPLM_API double XPLMGetDatad(XPLMDataRef inDataRef) {
  return sim::WithHost(0.0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getDouble() : 0.0;
  });
}

XPLM_API void XPLMSetDatad(XPLMDataRef inDataRef, double inValue) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef)) entry->setDouble(inValue, true);
  });
}

XPLM_API int XPLMGetDatavi(XPLMDataRef inDataRef, int* outValues, int inOffset, int inMax) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getIntArray(outValues, inOffset, inMax) : 0;
  });
}

XPLM_API void XPLMSetDatavi(XPLMDataRef inDataRef, int* inValues, int inoffset, int inCount) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef))
      entry->setIntArray(inValues, inoffset, inCount, true);
  });
}

XPLM_API int XPLMGetDatavf(XPLMDataRef inDataRef, float* outValues, int inOffset, int inMax) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getFloatArray(outValues, inOffset, inMax) : 0;
  });
}

XPLM_API void XPLMSetDatavf(XPLMDataRef inDataRef, float* inValues, int inoffset, int inCount) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef))
      entry->setFloatArray(inValues, inoffset, inCount, true);
  });
}

XPLM_API int XPLMGetDatab(XPLMDataRef inDataRef, void* outValue, int inOffset, int inMaxBytes) {
  return sim::WithHost(0, [&](Host& host) {
    const DataRefs::Entry* entry = Resolve(host, inDataRef);
    return entry != nullptr ? entry->getData(outValue, inOffset, inMaxBytes) : 0;
  });
}

XPLM_API void XPLMSetDatab(XPLMDataRef inDataRef, void* inValue, int inOffset, int inLength) {
  sim::WithHost([&](Host& host) {
    if (DataRefs::Entry* entry = Resolve(host, inDataRef)) entry->setData(inValue, inOffset, inLength, true);
  });
}

XPLM_API XPLMDataRef XPLMRegisterDataAccessor(
    const char* inDataName, XPLMDataTypeID inDataType, int inIsWritable, XPLMGetDatai_f inReadInt,
    XPLMSetDatai_f inWriteInt, XPLMGetDataf_f inReadFloat, XPLMSetDataf_f inWriteFloat,
    XPLMGetDatad_f inReadDouble, XPLMSetDatad_f inWriteDouble, XPLMGetDatavi_f inReadIntArray,
    XPLMSetDatavi_f inWriteIntArray, XPLMGetDatavf_f inReadFloatArray, XPLMSetDatavf_f inWriteFloatArray,
    XPLMGetDatab_f inReadData, XPLMSetDatab_f inWriteData, void* inReadRefcon, void* inWriteRefcon) {
  return sim::WithHost<XPLMDataRef>(nullptr, [&](Host& host) {
    return host.datarefs().registerAccessor(
        inDataName, inDataType, inIsWritable, inReadInt, inWriteInt, inReadFloat, inWriteFloat, inReadDouble,
        inWriteDouble, inReadIntArray, inWriteIntArray, inReadFloatArray, inWriteFloatArray, inReadData,
        inWriteData, inReadRefcon, inWriteRefcon);
  });
}

XPLM_API void XPLMUnregisterDataAccessor(XPLMDataRef inDataRef) {
  sim::WithHost([&](Host& host) { host.datarefs().unregisterAccessor(inDataRef); });
}
