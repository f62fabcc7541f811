// SPDX-License-Identifier: MIT
// SIGTERM, SIGINT and SIGHUP during a run: the temporary file being written is removed, a message
// says so, and the program ends with 128 + the signal's number, as a shell reports a killed
// command. Without this the half-written temporary file would stay beside the target.
#pragma once

#include <string>

namespace kelpa {

// Installs the handlers, except for a signal already ignored (nohup); message is the line written
// to stderr when one of them runs.
void CatchInterruptions(const std::string& message);
// The temporary file a handler removes; one at a time.
void SetInterruptedTempFile(const std::string& path);
void ClearInterruptedTempFile();

}  // namespace kelpa
