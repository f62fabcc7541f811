#include "console/settings.h"

#include <filesystem>

#include "console/ini_file.h"

namespace kelpa {
namespace {

constexpr const char* kSection = "GLOBAL";
constexpr const char* kPreemption = "PREEMPCAO";
constexpr const char* kDynamicPriority = "PRIORIDADE_DINAMICA";
constexpr const char* kRealTime = "TEMPO_REAL";

}  // namespace

void ReadSettings(SchedulingSettings& settings) {
  const TIniFile ini(KelpaIniPath());
  settings.PreemptionEnabled = ini.ReadBool(kSection, kPreemption, true);
  settings.DynamicPriorityEnabled = ini.ReadBool(kSection, kDynamicPriority, true);
  settings.RealTimeThreshold = ini.ReadInteger(kSection, kRealTime, 8);
}

bool WriteSettings(const SchedulingSettings& settings, IErrorReporter& reporter) {
  TIniFile ini(KelpaIniPath());
  ini.WriteBool(kSection, kPreemption, settings.PreemptionEnabled);
  ini.WriteBool(kSection, kDynamicPriority, settings.DynamicPriorityEnabled);
  ini.WriteInteger(kSection, kRealTime, settings.RealTimeThreshold);
  if (!ini.UpdateFile()) {
    reporter.ShowError("Unable to write to " + ini.Path());
    return false;
  }
  return true;
}

bool SaveLoadSettings(int mode, SchedulingSettings& settings, IErrorReporter& reporter) {
  switch (mode) {
    case 1: {
      // Only a file counts: a folder (or anything else) of that name is no settings file, and
      // writing the defaults then reports that the file cannot be written.
      std::error_code error;
      if (std::filesystem::is_regular_file(KelpaIniPath(), error)) {
        ReadSettings(settings);
        return true;
      }
      return WriteSettings(settings, reporter);
    }
    case 2:
      return WriteSettings(settings, reporter);
    default:
      return true;
  }
}

}  // namespace kelpa
