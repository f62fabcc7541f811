// The scheduling settings kept in section GLOBAL of kelpa.ini (current working directory).
#pragma once

#include "platform/error_reporter.h"
#include "simulation/scheduling_settings.h"

namespace kelpa {

// Reads PREEMPCAO (default true), PRIORIDADE_DINAMICA (default true) and TEMPO_REAL (default 8),
// in that order. TEMPO_REAL is clamped to 0 ... kPriorityLevels, the range the options window
// offers, so no later arithmetic on it can overflow.
void ReadSettings(SchedulingSettings& settings);

// Writes the three keys in that order, leaving the rest of the file as it is. On failure reports
// "Unable to write to <full path>" and returns false; the settings in memory stay in force. A file
// that was not read (too large, UTF-16) is never written: the failure says why.
bool WriteSettings(const SchedulingSettings& settings, IErrorReporter& reporter);

enum class SettingsMode : int { Load = 1, Save = 2 };

// Load: remove the temporary files of saves that were killed, then read the file if it exists
// (reporting a file that cannot be read, whose values then stay as they are), otherwise create it
// from the current values. Save: write it. Any other value does nothing. Returns false only when a
// write failed (after reporting it).
bool SaveLoadSettings(SettingsMode mode, SchedulingSettings& settings, IErrorReporter& reporter);

}  // namespace kelpa
