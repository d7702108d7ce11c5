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

  // The typed reads and writes name their callback by member, so that it is loaded only for an accessor:
  // the built-ins' path is the one a plugin takes every frame.
  template <typename F>
  using Slot = F Accessors::*;

  template <typename T>
  T getScalar(XPLMDataTypeID type, Slot<T (*)(void*)> reader) const {
    if (!has(type)) return 0;
    if (!accessor()) return static_cast<T>(stored(0));
    return this->*reader != nullptr ? call(this->*reader, readRefcon) : 0;
  }
  int getInt() const { return getScalar(xplmType_Int, &Entry::readInt); }
  float getFloat() const { return getScalar(xplmType_Float, &Entry::readFloat); }
  double getDouble() const { return getScalar(xplmType_Double, &Entry::readDouble); }

  template <typename T>
  int getArray(XPLMDataTypeID type, Slot<int (*)(void*, T*, int, int)> reader, T* out, int offset,
               int max) const {
    if (!has(type)) return 0;
    if (accessor()) return this->*reader != nullptr ? call(this->*reader, readRefcon, out, offset, max) : 0;
    const int size = static_cast<int>(values.size());
    if (out == nullptr) return size;
    if (offset < 0 || max < 0 || offset >= size) return 0;
    const int count = std::min(max, size - offset);
    for (int i = 0; i < count; ++i) out[i] = static_cast<T>(values[static_cast<std::size_t>(offset + i)]);
    return count;
  }
  int getIntArray(int* out, int offset, int max) const {
    return getArray(xplmType_IntArray, &Entry::readIntArray, out, offset, max);
  }
  int getFloatArray(float* out, int offset, int max) const {
    return getArray(xplmType_FloatArray, &Entry::readFloatArray, out, offset, max);
  }
  int getData(void* out, int offset, int max) const {
    if (!accessor() || !has(xplmType_Data) || readData == nullptr) return 0;
    return call(readData, readRefcon, out, offset, max);
  }

  // A write that mayWrite allowed.
  template <typename T>
  bool store(Slot<void (*)(void*, T)> writer, T value) {
    if (!accessor()) {
      values[0] = value;
      return true;
    }
    if (this->*writer == nullptr) return false;
    call(this->*writer, writeRefcon, value);
    return true;
  }
  bool setInt(int value, bool byPlugin) {
    return mayWrite(xplmType_Int, byPlugin) && store(&Entry::writeInt, value);
  }
  bool setFloat(float value, bool byPlugin) {
    if (!mayWrite(xplmType_Float, byPlugin)) return false;
    if (source == DataSource::RunningTime) {
      // The clock runs on from the value written, as X-Plane's does.
      runningTimeOffset = static_cast<double>(value) - host.time();
      return true;
    }
    return store(&Entry::writeFloat, value);
  }
  bool setDouble(double value, bool byPlugin) {
    return mayWrite(xplmType_Double, byPlugin) && store(&Entry::writeDouble, value);
  }

  template <typename T>
  bool setArray(XPLMDataTypeID type, Slot<void (*)(void*, T*, int, int)> writer, T* in, int offset, int count,
                bool byPlugin) {
    if (!mayWrite(type, byPlugin)) return false;
    if (accessor()) {
      if (this->*writer == nullptr) return false;
      call(this->*writer, writeRefcon, in, offset, count);
      return true;
    }
    const int size = static_cast<int>(values.size());
    if (in == nullptr || offset < 0 || count < 0 || offset >= size) return false;
    const int n = std::min(count, size - offset);
    for (int i = 0; i < n; ++i) values[static_cast<std::size_t>(offset + i)] = in[i];
    return true;
  }
  bool setIntArray(int* in, int offset, int count, bool byPlugin) {
    return setArray(xplmType_IntArray, &Entry::writeIntArray, in, offset, count, byPlugin);
  }
  bool setFloatArray(float* in, int offset, int count, bool byPlugin) {
    return setArray(xplmType_FloatArray, &Entry::writeFloatArray, in, offset, count, byPlugin);
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
