// The host's datarefs by name and by handle, the driver's reads and writes, and their checkpoints.
#include "datarefs_entry.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace sim {
namespace {

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

// The dataref a driver's "NAME[i]" names, and the index of the name or GIVEN; null when the name is
// malformed or unknown, or the two indices disagree.
DataRefs::Entry* Named(const DataRefs& datarefs, std::string_view full, std::optional<int> given,
                       std::optional<int>* index) {
  std::string_view name;
  std::optional<int> fromName;
  if (!SplitIndex(full, &name, &fromName) || (fromName && given && *fromName != *given)) return nullptr;
  *index = given ? given : fromName;
  return datarefs.find(name);
}

bool WholeInt(double value, int* out) {
  if (!std::isfinite(value) || value != std::trunc(value)) return false;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return false;
  *out = static_cast<int>(value);
  return true;
}

}  // namespace

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
                                       const Accessors& accessors) {
  if (name == nullptr || *name == '\0') return nullptr;
  auto entry = std::make_unique<Entry>(host_, name, types, writable != 0, DataSource::Accessor);
  entry->owner = host_.caller();
  static_cast<Accessors&>(*entry) = accessors;
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
  std::optional<int> index;
  const Entry* entry = Named(*this, full, std::nullopt, &index);
  return entry != nullptr && (!index || *index < entry->size());
}

int DataRefs::types(std::string_view full) const {
  std::optional<int> index;
  const Entry* entry = Named(*this, full, std::nullopt, &index);
  return entry != nullptr ? entry->types : 0;
}

int DataRefs::arraySize(std::string_view full) const {
  std::optional<int> index;
  const Entry* entry = Named(*this, full, std::nullopt, &index);
  return entry != nullptr ? entry->size() : 0;
}

std::optional<DataValue> DataRefs::read(std::string_view full, std::optional<int> given) {
  std::optional<int> index;
  const Entry* entry = Named(*this, full, given, &index);
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
  if (readable(xplmType_Int, entry->readInt != nullptr))
    return DataValue{xplmType_Int, static_cast<double>(entry->getInt())};
  if (readable(xplmType_Float, entry->readFloat != nullptr))
    return DataValue{xplmType_Float, entry->getFloat()};
  if (readable(xplmType_Double, entry->readDouble != nullptr))
    return DataValue{xplmType_Double, entry->getDouble()};
  return std::nullopt;
}

bool DataRefs::write(std::string_view full, double value, std::optional<int> given) {
  std::optional<int> index;
  Entry* entry = Named(*this, full, given, &index);
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
  std::optional<int> index;
  Entry* entry = Named(*this, full, std::nullopt, &index);
  if (entry == nullptr || index || values.size() > static_cast<std::size_t>(entry->size())) return false;
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
