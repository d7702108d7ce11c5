// X-Plane 12's own datarefs as the host publishes them.
#include "datarefs_entry.h"

namespace sim {
namespace {

// Whether a plugin may write a built-in dataref.
enum class Writable { No, Yes, OnOlderSimulator };

struct Builtin {
  const char* name;
  XPLMDataTypeID type;
  Writable writable;
  int size;      // elements of an array; 1 for a scalar
  double start;  // of every element
  DataSource source;
};

constexpr auto kYes = Writable::Yes;
constexpr auto kNo = Writable::No;

// X-Plane's own datarefs that the host publishes; the start values are documented in datarefs.h.
constexpr Builtin kBuiltins[] = {
    {"sim/graphics/view/pilots_head_x", xplmType_Float, kYes, 1, -0.3, DataSource::Stored},
    {"sim/graphics/view/pilots_head_y", xplmType_Float, kYes, 1, 1.0, DataSource::Stored},
    {"sim/graphics/view/pilots_head_z", xplmType_Float, kYes, 1, -4.0, DataSource::Stored},
    {"sim/graphics/view/pilots_head_psi", xplmType_Float, kYes, 1, 0.0, DataSource::Stored},
    {"sim/graphics/view/pilots_head_the", xplmType_Float, kYes, 1, 0.0, DataSource::Stored},
    {"sim/graphics/view/pilots_head_phi", xplmType_Float, kYes, 1, 0.0, DataSource::Stored},
    {"sim/graphics/view/field_of_view_roll_deg", xplmType_Float, kYes, 1, 0.0, DataSource::Stored},
    {"sim/graphics/view/view_type", xplmType_Int, Writable::OnOlderSimulator, 1, 1026, DataSource::Stored},
    {"sim/flightmodel/forces/g_nrml", xplmType_Float, kNo, 1, 1.0, DataSource::Stored},
    {"sim/flightmodel/forces/g_axil", xplmType_Float, kNo, 1, 0.0, DataSource::Stored},
    {"sim/flightmodel/forces/g_side", xplmType_Float, kNo, 1, 0.0, DataSource::Stored},
    {"sim/flightmodel/position/groundspeed", xplmType_Float, kNo, 1, 0.0, DataSource::Stored},
    {"sim/flightmodel/position/y_agl", xplmType_Float, kNo, 1, 0.0, DataSource::Stored},
    {"sim/flightmodel/failures/onground_any", xplmType_Int, kYes, 1, 1, DataSource::Stored},
    {"sim/flightmodel/engine/ENGN_N1_", xplmType_FloatArray, kYes, 16, 0.0, DataSource::Stored},
    {"sim/flightmodel/engine/POINT_tacrad", xplmType_FloatArray, kYes, 16, 0.0, DataSource::Stored},
    {"sim/aircraft/prop/acf_en_type", xplmType_IntArray, kNo, 16, 0, DataSource::Stored},
    {"sim/operation/windows/system_window", xplmType_Int, kNo, 1, kSystemWindowLow, DataSource::Stored},
    {"sim/operation/windows/system_window_64", xplmType_IntArray, kNo, 2, 0, DataSource::Stored},
    {"sim/time/framerate_period", xplmType_Float, kNo, 1, 0.0, DataSource::FramePeriod},
    {"sim/time/total_running_time_sec", xplmType_Float, kYes, 1, 0.0, DataSource::RunningTime},
};

}  // namespace

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

std::vector<std::string> DataRefs::builtinNames() {
  std::vector<std::string> names;
  for (const Builtin& builtin : kBuiltins) names.emplace_back(builtin.name);
  return names;
}

}  // namespace sim
