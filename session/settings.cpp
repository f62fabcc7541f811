// SPDX-License-Identifier: MIT
#include "session/settings.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <string>

#include "catalogue/fill_in.h"
#include "platform/ini_file.h"
#include "platform/ini_temp_file.h"
#include "platform/settings_layers.h"

namespace kelpa {
namespace {

constexpr const char* kSection = "GLOBAL";
constexpr const char* kVisualSection = "VISUAL";
constexpr const char* kZoom = "ZOOM";
constexpr const char* kLook = "APARENCIA";

struct LookName {
  Look Value;
  const char* Name;
};
constexpr LookName kLookNames[] = {
    {Look::Light, "CLARA"}, {Look::Dark, "ESCURA"}, {Look::Desktop, "SISTEMA"}};

// Why the file was not read; empty when it was.
std::string UnreadReason(const TIniFile& ini, const TMessages& msg) {
  switch (ini.Problem()) {
    case TIniProblem::TooLarge:
      return msg.MsgCenArquivoGrande;
    case TIniProblem::Utf16:
      return msg.MsgCenArquivoUtf16;
    case TIniProblem::None:
      break;
  }
  return {};
}

// Each option kept between sessions, in the table's order; a number is clamped to its range, the
// one its control offers, so no later arithmetic on it can overflow.
void ReadFrom(const TIniFile& ini, RunOptions& options) {
  for (const OptionRow& row : kOptionTable) {
    if (!row.KeptInSettings) {
      continue;
    }
    const std::string key(row.Key);
    if (!ini.HasKey(kSection, key)) {
      continue;  // as a file beneath gave it, or the default
    }
    int value = row.Default;
    if (row.Kind == OptionKind::Number) {
      value = std::clamp(ini.ReadInteger(kSection, key, row.Default), row.Min, row.Max);
    } else if (row.Kind == OptionKind::Choice) {
      value = ChoiceOf(row, ini.ReadString(kSection, key, "")).value_or(row.Default);
    } else {
      value = static_cast<int>(ini.ReadBool(kSection, key, row.Default != 0));
    }
    row.Set(options, value);
  }
}

// Writes keys into the settings file, leaving every other byte of it; a file that could not be
// read is left as it is. Says why when it cannot.
bool UpdateSettingsFile(IErrorReporter& reporter, const TMessages& msg,
                        const std::function<void(TIniFile&)>& write) {
  TIniFile ini(KelpaIniPath());
  if (const std::string reason = UnreadReason(ini, msg); !reason.empty()) {
    reporter.ShowError(FillIn(msg.MsgIniMantido, {"Unable to write to " + ini.Path(), reason}));
    return false;
  }
  write(ini);
  if (!ini.UpdateFile()) {
    reporter.ShowError("Unable to write to " + ini.Path());
    return false;
  }
  return true;
}

}  // namespace

void ReadSettings(RunOptions& options) {
  ReadFrom(TIniFile(KelpaIniPath()), options);
}

bool WriteSettings(const RunOptions& options, IErrorReporter& reporter, const TMessages& msg) {
  return UpdateSettingsFile(reporter, msg, [&](TIniFile& ini) {
    for (const OptionRow& row : kOptionTable) {
      if (!row.KeptInSettings) {
        continue;
      }
      const std::string key(row.Key);
      if (row.Kind == OptionKind::Number) {
        ini.WriteInteger(kSection, key, row.Get(options));
      } else if (row.Kind == OptionKind::Choice) {
        ini.WriteString(kSection, key, OptionText(row, row.Get(options)));
      } else {
        ini.WriteBool(kSection, key, row.Get(options) != 0);
      }
    }
  });
}

int ReadZoom(const std::string& iniPath) {
  return ReadZoom(std::vector<std::string>{iniPath});
}

int ReadZoom(const std::vector<std::string>& layers) {
  int zoom = kDefaultZoom;
  for (const std::string& layer : layers) {
    zoom = TIniFile(layer).ReadInteger(kVisualSection, kZoom, zoom);
  }
  return std::find(kZoomLevels.begin(), kZoomLevels.end(), zoom) != kZoomLevels.end()
             ? zoom
             : kDefaultZoom;
}

bool WriteZoom(int percent, IErrorReporter& reporter, const TMessages& msg) {
  return UpdateSettingsFile(
      reporter, msg, [&](TIniFile& ini) { ini.WriteInteger(kVisualSection, kZoom, percent); });
}

Look ReadLook(const std::vector<std::string>& layers) {
  Look look = kDefaultLook;
  for (const std::string& layer : layers) {
    std::string value = TIniFile(layer).ReadString(kVisualSection, kLook, "");
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const LookName& name : kLookNames) {
      if (value == name.Name) {
        look = name.Value;
      }
    }
  }
  return look;
}

bool WriteLook(Look look, IErrorReporter& reporter, const TMessages& msg) {
  const char* name = kLookNames[0].Name;
  for (const LookName& entry : kLookNames) {
    if (entry.Value == look) {
      name = entry.Name;
    }
  }
  return UpdateSettingsFile(reporter, msg,
                            [&](TIniFile& ini) { ini.WriteString(kVisualSection, kLook, name); });
}

bool SaveLoadSettings(SettingsMode mode, RunOptions& settings, IErrorReporter& reporter,
                      const TMessages& msg, const std::vector<std::string>& beneath) {
  switch (mode) {
    case SettingsMode::Load: {
      RemoveStaleTempFiles(KelpaIniPath());
      // The lab's defaults (and the shipped catalogue's) first: the user's own file wins.
      for (const std::string& layer : beneath) {
        ReadFrom(TIniFile(layer), settings);
      }
      // Only a file counts: a folder (or anything else) of that name is no settings file, and
      // writing the defaults then reports that the file cannot be written.
      if (!KelpaIniPresent()) {
        return WriteSettings(settings, reporter, msg);
      }
      const TIniFile ini(KelpaIniPath());
      if (const std::string reason = UnreadReason(ini, msg); !reason.empty()) {
        reporter.ShowError(FillIn(msg.MsgIniNaoLido, {ini.Path(), reason}));
        return true;
      }
      ReadFrom(ini, settings);
      return true;
    }
    case SettingsMode::Save:
      return WriteSettings(settings, reporter, msg);
  }
  return true;
}

}  // namespace kelpa
