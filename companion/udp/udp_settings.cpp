#include "udp_settings.h"

#include <cmath>
#include <cstring>

#include "config/number_text.h"
#include "config/setup_lines.h"

namespace talvenor::udp {
namespace {

constexpr const char* kAxisNames[kTrackerAxes] = {"X", "Y", "Z", "YAW", "PITCH", "ROLL"};

// The whole text is a decimal number: the project's reader takes what fits and stops, so what is left over
// decides whether the text was a number at all.
bool WholeNumber(const char* text, double& value) {
  if (text[0] == '\0') return false;
  const char* end = text;
  if (*end == '+' || *end == '-') ++end;
  bool digits = false;
  int points = 0;
  for (; (*end >= '0' && *end <= '9') || *end == '.'; ++end) {
    if (*end == '.') {
      ++points;
    } else {
      digits = true;
    }
  }
  if (points > 1) return false;
  if (digits && *end == 'E') {
    ++end;
    if (*end == '+' || *end == '-') ++end;
    if (*end < '0' || *end > '9') return false;
    while (*end >= '0' && *end <= '9') ++end;
  }
  if (!digits || *end != '\0') return false;
  return TextToDoubleInRange(text, value);
}

void Refuse(SettingsReport& report, int line, const char* key, const char* why) {
  if (report.problems++ > 0) return;
  report.firstProblemLine = line;
  (void)std::snprintf(report.firstProblem, sizeof report.firstProblem, "%.80s: %s",
                      key[0] != '\0' ? key : "(no key)", why);
}

// False with WHY set when the key is unknown or its value is refused.
bool Apply(UdpSettings& settings, const char* section, const char* key, const char* value, const char*& why) {
  double number = 0;
  const bool isNumber = WholeNumber(value, number);
  if (std::strcmp(section, "UDP") == 0) {
    if (std::strcmp(key, "ADDRESS") == 0) {
      why = "not an IPv4 address A.B.C.D";
      return ParseIPv4(value, settings.address);
    }
    if (std::strcmp(key, "PORT") == 0) {
      why = "not a port from 1 to 65535";
      if (!isNumber || number < 1 || number > 65535 || number != std::floor(number)) return false;
      settings.port = static_cast<int>(number);
      return true;
    }
    if (std::strcmp(key, "TIMEOUT") == 0) {
      why = "not a number of seconds from 0.05 to 60";
      if (!isNumber || number < 0.05 || number > 60) return false;
      settings.timeout = number;
      return true;
    }
  } else if (std::strcmp(section, "AXES") == 0) {
    for (int axis = 0; axis < kTrackerAxes; ++axis) {
      const std::size_t length = std::strlen(kAxisNames[axis]);
      if (std::strncmp(key, kAxisNames[axis], length) != 0) continue;
      AxisMapping& mapping = settings.axes[static_cast<std::size_t>(axis)];
      if (std::strcmp(key + length, "SIGN") == 0) {
        why = "a sign is 1 or -1";
        if (!isNumber || (number != 1 && number != -1)) return false;
        mapping.sign = number;
        return true;
      }
      if (std::strcmp(key + length, "SCALE") == 0) {
        why = "not a scale from -1000 to 1000";
        if (!isNumber || std::fabs(number) > 1000) return false;
        mapping.scale = number;
        return true;
      }
    }
  }
  why = section[0] == '\0' ? "a key before any [UDP] or [AXES] section" : "not a key of its section";
  return false;
}

}  // namespace

UdpSettings ReadUdpSettings(std::FILE* file, SettingsReport& report) {
  if (file == nullptr) {
    report = SettingsReport{};
    return UdpSettings{};
  }
  const SetupFileBytes bytes(file);
  if (bytes.outOfMemory()) {
    report = SettingsReport{};
    report.opened = true;
    Refuse(report, 1, "", "not enough memory to read the file; the defaults are used");
    return UdpSettings{};
  }
  return ReadUdpSettingsText(bytes.text(), report);
}

UdpSettings ReadUdpSettingsText(SetupText file, SettingsReport& report) {
  UdpSettings settings;
  report = SettingsReport{};
  report.opened = true;
  char section[kSetupTextSize] = {};
  char line[kSetupTextSize];
  int length = 0;
  for (int number = 1;; ++number) {
    const SetupLineRead read = ReadSetupLineCounted(line, kSetupTextSize, file, length);
    if (read == SetupLineRead::kEnd) break;
    if (read == SetupLineRead::kError) {
      Refuse(report, number, "", "read error; the rest of the file is ignored");
      break;
    }
    RemoveSetupLineEnd(line);
    UpperCaseSetupText(line);
    char text[kSetupTextSize];
    StripBlanks(line, text);
    if (std::strchr(text, ';') != nullptr || text[0] == '\0') continue;
    if (text[0] == '[') {
      char* close = std::strchr(text, ']');
      if (close == nullptr || close[1] != '\0') {
        Refuse(report, number, text, "a section is written [NAME]");
        section[0] = '\0';
        continue;
      }
      *close = '\0';
      std::memcpy(section, text + 1, std::strlen(text + 1) + 1);
      continue;
    }
    char* equals = std::strchr(text, '=');
    if (equals == nullptr) {
      Refuse(report, number, text, "a setting is written KEY = VALUE");
      continue;
    }
    *equals = '\0';
    const char* why = "";
    if (!Apply(settings, section, text, equals + 1, why)) Refuse(report, number, text, why);
  }
  return settings;
}

bool ParseIPv4(const char* text, std::uint32_t& value) {
  std::uint32_t result = 0;
  const char* p = text;
  for (int part = 0; part < 4; ++part) {
    if (part > 0 && *p++ != '.') return false;
    int digits = 0;
    std::uint32_t number = 0;
    for (; *p >= '0' && *p <= '9' && digits < 4; ++p, ++digits)
      number = number * 10 + static_cast<std::uint32_t>(*p - '0');
    if (digits == 0 || digits > 3 || number > 255) return false;
    result = result << 8 | number;
  }
  if (*p != '\0') return false;
  value = result;
  return true;
}

void FormatIPv4(std::uint32_t value, char* buffer, std::size_t size) {
  (void)std::snprintf(buffer, size, "%u.%u.%u.%u", (value >> 24) & 0xFFu, (value >> 16) & 0xFFu,
                      (value >> 8) & 0xFFu, value & 0xFFu);
}

}  // namespace talvenor::udp
