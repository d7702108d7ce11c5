// The probe's own datarefs, published through XPLMRegisterDataAccessor, and its checks of the host's
// datarefs.
#include <algorithm>
#include <cstring>

#include "probe.h"

namespace probe {
namespace {

Binding& Self(void* refcon) {
  return *static_cast<Binding*>(refcon);
}

int ReadInt(void* refcon) {
  Binding& b = Self(refcon);
  ++b.reads;
  if (b.onRead != nullptr) b.onRead();
  return *b.ints;
}

void WriteInt(void* refcon, int value) {
  Binding& b = Self(refcon);
  ++b.writes;
  *b.ints = value;
  if (b.onWrite != nullptr) b.onWrite();
}

float ReadFloat(void* refcon) {
  Binding& b = Self(refcon);
  ++b.reads;
  return *b.floats;
}

void WriteFloat(void* refcon, float value) {
  Binding& b = Self(refcon);
  ++b.writes;
  *b.floats = value;
  if (b.onWrite != nullptr) b.onWrite();
}

// Array reads and writes follow the SDK: a null buffer asks for the length, otherwise up to max/count items
// from offset are copied and the number copied is returned.
template <typename T>
int ReadArray(Binding& b, T* storage, T* out, int offset, int max) {
  ++b.reads;
  if (out == nullptr) return b.count;
  if (offset < 0 || max <= 0 || offset >= b.count) return 0;
  const int n = std::min(max, b.count - offset);
  std::copy_n(storage + offset, n, out);
  return n;
}

template <typename T>
void WriteArray(Binding& b, T* storage, const T* in, int offset, int count) {
  ++b.writes;
  if (in == nullptr || offset < 0 || count <= 0 || offset >= b.count) return;
  std::copy_n(in, std::min(count, b.count - offset), storage + offset);
}

int ReadIntArray(void* refcon, int* out, int offset, int max) {
  Binding& b = Self(refcon);
  return ReadArray(b, b.ints, out, offset, max);
}

void WriteIntArray(void* refcon, int* in, int offset, int count) {
  Binding& b = Self(refcon);
  WriteArray(b, b.ints, in, offset, count);
}

int ReadFloatArray(void* refcon, float* out, int offset, int max) {
  Binding& b = Self(refcon);
  return ReadArray(b, b.floats, out, offset, max);
}

void WriteFloatArray(void* refcon, float* in, int offset, int count) {
  Binding& b = Self(refcon);
  WriteArray(b, b.floats, in, offset, count);
}

int ReadData(void* refcon, void* out, int offset, int max) {
  Binding& b = Self(refcon);
  ++b.reads;
  const DataBuffer& d = *b.data;
  if (out == nullptr) return d.length;
  if (offset < 0 || max <= 0 || offset >= d.length) return 0;
  const int n = std::min(max, d.length - offset);
  std::memcpy(out, d.bytes.data() + offset, static_cast<std::size_t>(n));
  return n;
}

void WriteData(void* refcon, void* in, int offset, int length) {
  Binding& b = Self(refcon);
  ++b.writes;
  DataBuffer& d = *b.data;
  const int capacity = static_cast<int>(d.bytes.size());
  if (in == nullptr || offset < 0 || length < 0 || offset > d.length || offset >= capacity) return;
  const int n = std::min(length, capacity - offset);
  std::memcpy(d.bytes.data() + offset, in, static_cast<std::size_t>(n));
  d.length = offset + n;
}

Binding* Add(const char* name, XPLMDataTypeID type, bool writable, Binding binding) {
  Probe& p = State();
  if (p.bindingCount >= static_cast<int>(p.bindings.size())) {
    Debug("SDK Probe: no room to publish %s", name);
    return nullptr;
  }
  Binding& b = p.bindings[static_cast<std::size_t>(p.bindingCount++)];
  b = binding;
  b.name = name;
  const bool isInt = (type & xplmType_Int) != 0, isFloat = (type & xplmType_Float) != 0;
  const bool isIntArray = (type & xplmType_IntArray) != 0, isFloatArray = (type & xplmType_FloatArray) != 0;
  const bool isData = (type & xplmType_Data) != 0;
  b.ref = XPLMRegisterDataAccessor(
      name, type, writable ? 1 : 0, isInt ? ReadInt : nullptr, isInt && writable ? WriteInt : nullptr,
      isFloat ? ReadFloat : nullptr, isFloat && writable ? WriteFloat : nullptr, nullptr, nullptr,
      isIntArray ? ReadIntArray : nullptr, isIntArray && writable ? WriteIntArray : nullptr,
      isFloatArray ? ReadFloatArray : nullptr, isFloatArray && writable ? WriteFloatArray : nullptr,
      isData ? ReadData : nullptr, isData && writable ? WriteData : nullptr, &b, &b);
  return &b;
}

// Accessors for a dataref that lives only during the stale-handle check.
int ReadTemporary(void*) {
  return 99;
}

}  // namespace

Binding* PublishInt(const char* name, int* value, bool writable, void (*onWrite)()) {
  Binding b;
  b.ints = value;
  b.onWrite = onWrite;
  return Add(name, xplmType_Int, writable, b);
}

Binding* PublishComputedInt(const char* name, int* value, void (*onRead)()) {
  Binding b;
  b.ints = value;
  b.onRead = onRead;
  return Add(name, xplmType_Int, false, b);
}

Binding* PublishFloat(const char* name, float* value, bool writable, void (*onWrite)()) {
  Binding b;
  b.floats = value;
  b.onWrite = onWrite;
  return Add(name, xplmType_Float, writable, b);
}

Binding* PublishIntArray(const char* name, int* values, int count, bool writable) {
  Binding b;
  b.ints = values;
  b.count = count;
  return Add(name, xplmType_IntArray, writable, b);
}

Binding* PublishFloatArray(const char* name, float* values, int count, bool writable) {
  Binding b;
  b.floats = values;
  b.count = count;
  return Add(name, xplmType_FloatArray, writable, b);
}

Binding* PublishData(const char* name, DataBuffer* data, bool writable) {
  Binding b;
  b.data = data;
  return Add(name, xplmType_Data, writable, b);
}

void SetData(DataBuffer& buffer, const char* text) {
  const std::size_t n = std::min(std::strlen(text), buffer.bytes.size());
  std::memcpy(buffer.bytes.data(), text, n);
  buffer.length = static_cast<int>(n);
}

void WithdrawAll() {
  Probe& p = State();
  for (int i = 0; i < p.bindingCount; ++i) {
    Binding& b = p.bindings[static_cast<std::size_t>(i)];
    // A deliberate leak keeps the main value published past the stop.
    if (p.leak && &b == p.intValueBinding) continue;
    if (b.ref != nullptr) XPLMUnregisterDataAccessor(b.ref);
    b.ref = nullptr;
  }
  p.bindingCount = 0;
}

void CheckDataRefs() {
  Probe& p = State();
  Checks& c = p.checks;
  c.nullReadInt = XPLMGetDatai(nullptr);
  c.nullReadFloat = XPLMGetDataf(nullptr) == 0.0f ? 0 : 1;
  XPLMSetDatai(nullptr, 5);  // must be ignored, not crash
  c.unknownFound = XPLMFindDataRef("probe/no_such_dataref") != nullptr ? 1 : 0;

  XPLMDataRef headX = XPLMFindDataRef("sim/graphics/view/pilots_head_x");
  XPLMDataRef viewType = XPLMFindDataRef("sim/graphics/view/view_type");
  XPLMDataRef n1 = XPLMFindDataRef("sim/flightmodel/engine/ENGN_N1_");
  XPLMDataRef groundSpeed = XPLMFindDataRef("sim/flightmodel/position/groundspeed");
  XPLMSetDataf(headX, 1.25f);
  c.wrongTypeRead = XPLMGetDatai(headX);
  c.headTypes = XPLMGetDataRefTypes(headX);
  c.viewTypeTypes = XPLMGetDataRefTypes(viewType);
  c.arrayLength = XPLMGetDatavf(n1, nullptr, 0, 0);
  c.canWriteHead = XPLMCanWriteDataRef(headX);
  c.canWriteReadOnly = XPLMCanWriteDataRef(XPLMFindDataRef("probe/readonly_int"));
  const float before = XPLMGetDataf(groundSpeed);
  XPLMSetDataf(groundSpeed, before + 123.0f);
  c.readOnlyWriteIgnored = XPLMGetDataf(groundSpeed) == before ? 1 : 0;

  // The view type changes through the view commands; a plugin's write reaches it only in an older simulator.
  c.canWriteViewType = XPLMCanWriteDataRef(viewType);
  XPLMSetDatai(viewType, 1017);
  c.viewTypeWriteTaken = XPLMGetDatai(viewType) == 1017 ? 1 : 0;
  XPLMCommandOnce(XPLMFindCommand("sim/view/forward_with_2d_panel"));
  const int forward = XPLMGetDatai(viewType);
  XPLMCommandOnce(XPLMFindCommand("sim/view/3d_cockpit_cmnd_look"));
  c.viewCommandsSelect = forward == 1000 && XPLMGetDatai(viewType) == 1026 ? 1 : 0;
  c.panFound = XPLMFindCommand("sim/view/pan_left") != nullptr ? 1 : 0;
  c.rotFound = XPLMFindCommand("sim/general/rot_left") != nullptr ? 1 : 0;
  std::array<int, 2> window{};
  XPLMGetDatavi(XPLMFindDataRef("sim/operation/windows/system_window_64"), window.data(), 0, 2);
  c.windowLow = window[0];
  c.windowHigh = window[1];

  std::array<float, 10> buffer{};
  c.arrayClipped = XPLMGetDatavf(n1, buffer.data(), c.arrayLength - 2, 10);
  c.negativeOffsetCopied = XPLMGetDatavf(n1, buffer.data(), -1, 4);

  // Our own datarefs, read and written through the host like anyone else would.
  XPLMDataRef ownInt = XPLMFindDataRef("probe/int_value");
  const int writesBefore = p.intValueBinding != nullptr ? p.intValueBinding->writes : 0;
  XPLMSetDatai(ownInt, 7);
  c.ownRoundTrip = XPLMGetDatai(ownInt);
  c.ownWritesCounted = (p.intValueBinding != nullptr ? p.intValueBinding->writes : 0) - writesBefore;
  XPLMDataRef data = XPLMFindDataRef("probe/data");
  char hello[] = "hello";
  XPLMSetDatab(data, hello, 0, 5);
  c.dataLength = XPLMGetDatab(data, nullptr, 0, 0);

  // A handle outlives its dataref: after unregistering, reads through it give 0 and the name is gone.
  XPLMDataRef temporary = XPLMRegisterDataAccessor("probe/temporary", xplmType_Int, 0, ReadTemporary, nullptr,
                                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  XPLMDataRef found = XPLMFindDataRef("probe/temporary");
  c.tempBefore = XPLMGetDatai(found);
  XPLMUnregisterDataAccessor(temporary);
  c.tempAfter = XPLMGetDatai(found);
  c.tempFoundAfter = XPLMFindDataRef("probe/temporary") != nullptr ? 1 : 0;
  Debug("SDK Probe: dataref checks done");
}

}  // namespace probe
