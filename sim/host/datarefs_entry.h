// What the dataref files of the simulated host share: a dataref as the host keeps it, built-in or a
// plugin's accessor, and how it is read and written.
#pragma once

#include <algorithm>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "datarefs.h"

namespace sim {

// Where a value comes from: the host's store, its clock, its frame rate, or the plugin that registered it.
enum class DataSource { Stored, RunningTime, FramePeriod, Accessor };

struct DataRefs::Entry {
  Entry(Host& h, std::string n, XPLMDataTypeID t, bool w, DataSource s)
      : host(h), name(std::move(n)), types(t), writable(w), source(s) {}

  Host& host;
  std::string name;
  XPLMDataTypeID types;
  bool writable;
  DataSource source;
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

  bool accessor() const { return source == DataSource::Accessor; }
  bool has(XPLMDataTypeID type) const { return live && (types & type) != 0; }
  // May this writer change the value? Plugins obey X-Plane's writability, the driver does not.
  bool mayWrite(XPLMDataTypeID type, bool byPlugin) const {
    if (!has(type)) return false;
    if (source == DataSource::FramePeriod) return false;
    return !byPlugin || writable || (writableOnOlder && host.simulator() == Simulator::Older);
  }

  double stored(std::size_t i) const {
    switch (source) {
      case DataSource::RunningTime:
        return host.time() + runningTimeOffset;
      case DataSource::FramePeriod:
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
    if (source == DataSource::RunningTime) {
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

}  // namespace sim
