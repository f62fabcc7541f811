// SPDX-License-Identifier: MIT
// The settings kept in kelpa.ini (current working directory): the scheduling settings in section
// GLOBAL, the windows' zoom and look in section VISUAL.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "catalogue/messages.h"
#include "platform/error_reporter.h"
#include "platform/settings_layers.h"
#include "simulation/run_options.h"

namespace kelpa {

// Reads the options kept between sessions (KeptInSettings: PREEMPCAO, PRIORIDADE_DINAMICA and
// TEMPO_REAL), in the table's order, each with its default; a number is clamped to its range.
void ReadSettings(RunOptions& options);

// Writes those keys in that order, leaving the rest of the file as it is. On failure reports
// "Unable to write to <full path>" and returns false; the settings in memory stay in force. A file
// that was not read (too large, UTF-16) is never written: the failure says why, in msg's words
// (the built-in texts when not given).
bool WriteSettings(const RunOptions& options, IErrorReporter& reporter,
                   const TMessages& msg = TMessages());

enum class SettingsMode : int { Load = 1, Save = 2 };

// Load: remove the temporary files of saves that were killed, read the layers beneath the user's
// file (the shipped catalogue of the desktop's language, the lab's defaults), then read the file
// if it exists
// (reporting a file that cannot be read, whose values then stay as they are), otherwise create it
// from the current values. Save: write it. Any other value does nothing. Returns false only when a
// write failed (after reporting it).
bool SaveLoadSettings(SettingsMode mode, RunOptions& settings, IErrorReporter& reporter,
                      const TMessages& msg = TMessages(),
                      const std::vector<std::string>& beneath = SettingsLayersBeneath());

// The zooms the windows offer, in percent; the first is the default.
inline constexpr std::array<int, 4> kZoomLevels = {100, 125, 150, 200};
inline constexpr int kDefaultZoom = kZoomLevels[0];

// ZOOM of section VISUAL in the file at iniPath: one of kZoomLevels, or the default when the key,
// the file or a readable value is missing, or the value is not one of them.
int ReadZoom(const std::string& iniPath);
// The same over layers, lowest precedence first: the last that gives a zoom.
int ReadZoom(const std::vector<std::string>& layers);

// Writes ZOOM (one of kZoomLevels) into section VISUAL, leaving the rest of the file as it is.
// On failure reports "Unable to write to <full path>" and returns false.
bool WriteZoom(int percent, IErrorReporter& reporter, const TMessages& msg = TMessages());

// The windows' look: light, dark, or whatever the desktop gives.
enum class Look : int { Light, Dark, Desktop };
inline constexpr Look kDefaultLook = Look::Desktop;

// APARENCIA of section VISUAL over layers, lowest precedence first: CLARA, ESCURA or SISTEMA in
// any case; the default when no layer gives one of them (a value that is not one of them is
// passed over, and the file is left as it is).
Look ReadLook(const std::vector<std::string>& layers);

// Writes APARENCIA into section VISUAL, leaving the rest of the file as it is. On failure reports
// "Unable to write to <full path>" and returns false.
bool WriteLook(Look look, IErrorReporter& reporter, const TMessages& msg = TMessages());

}  // namespace kelpa
