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

// A plugin's accessor keeps its callbacks as given; a built-in has none.
struct DataRefs::Entry : DataRefs::Accessors {
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

  bool accessor() const { return source == DataSource::Accessor; }
  bool has(XPLMDataTypeID type) const { return live && (types & type) != 0; }
  XPLMDataTypeID liveTypes() const { return live ? types : xplmType_Unknown; }
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
    return host.runAs(owner, [&] { return fn(args...); });
  }

  template <typename T>
  T getScalar(XPLMDataTypeID type, T (*reader)(void*)) const {
    if (!has(type)) return 0;
    if (!accessor()) return static_cast<T>(stored(0));
    return reader != nullptr ? call(reader, readRefcon) : 0;
  }
  int getInt() const { return getScalar(xplmType_Int, readInt); }
  float getFloat() const { return getScalar(xplmType_Float, readFloat); }
  double getDouble() const { return getScalar(xplmType_Double, readDouble); }

  template <typename T>
  int getArray(XPLMDataTypeID type, int (*reader)(void*, T*, int, int), T* out, int offset, int max) const {
    if (!has(type)) return 0;
    if (accessor()) return reader != nullptr ? call(reader, readRefcon, out, offset, max) : 0;
    const int size = static_cast<int>(values.size());
    if (out == nullptr) return size;
    if (offset < 0 || max < 0 || offset >= size) return 0;
    const int count = std::min(max, size - offset);
    for (int i = 0; i < count; ++i) out[i] = static_cast<T>(values[static_cast<std::size_t>(offset + i)]);
    return count;
  }
  int getIntArray(int* out, int offset, int max) const {
    return getArray(xplmType_IntArray, readIntArray, out, offset, max);
  }
  int getFloatArray(float* out, int offset, int max) const {
    return getArray(xplmType_FloatArray, readFloatArray, out, offset, max);
  }
  int getData(void* out, int offset, int max) const {
    if (!accessor() || !has(xplmType_Data) || readData == nullptr) return 0;
    return call(readData, readRefcon, out, offset, max);
  }

  template <typename T>
  bool setScalar(XPLMDataTypeID type, void (*writer)(void*, T), T value, bool byPlugin) {
    if (!mayWrite(type, byPlugin)) return false;
    if (!accessor()) {
      values[0] = value;
      return true;
    }
    if (writer == nullptr) return false;
    call(writer, writeRefcon, value);
    return true;
  }
  bool setInt(int value, bool byPlugin) { return setScalar(xplmType_Int, writeInt, value, byPlugin); }
  bool setFloat(float value, bool byPlugin) {
    if (source == DataSource::RunningTime && mayWrite(xplmType_Float, byPlugin)) {
      // The clock runs on from the value written, as X-Plane's does.
      runningTimeOffset = static_cast<double>(value) - host.time();
      return true;
    }
    return setScalar(xplmType_Float, writeFloat, value, byPlugin);
  }
  bool setDouble(double value, bool byPlugin) {
    return setScalar(xplmType_Double, writeDouble, value, byPlugin);
  }

  template <typename T>
  bool setArray(XPLMDataTypeID type, void (*writer)(void*, T*, int, int), T* in, int offset, int count,
                bool byPlugin) {
    if (!mayWrite(type, byPlugin)) return false;
    if (accessor()) {
      if (writer == nullptr) return false;
      call(writer, writeRefcon, in, offset, count);
      return true;
    }
    const int size = static_cast<int>(values.size());
    if (in == nullptr || offset < 0 || count < 0 || offset >= size) return false;
    const int n = std::min(count, size - offset);
    for (int i = 0; i < n; ++i) values[static_cast<std::size_t>(offset + i)] = in[i];
    return true;
  }
  bool setIntArray(int* in, int offset, int count, bool byPlugin) {
    return setArray(xplmType_IntArray, writeIntArray, in, offset, count, byPlugin);
  }
  bool setFloatArray(float* in, int offset, int count, bool byPlugin) {
    return setArray(xplmType_FloatArray, writeFloatArray, in, offset, count, byPlugin);
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
    if (has(xplmType_FloatArray)) return getFloatArray(nullptr, 0, 0);
    return has(xplmType_IntArray) ? getIntArray(nullptr, 0, 0) : 0;
  }
};

}  // namespace sim
