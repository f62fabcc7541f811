// SPDX-License-Identifier: MIT
// How wide text may be on standard output.
#pragma once

namespace kelpa {

// When standard output is a terminal: COLUMNS when it holds a positive number, else the
// terminal's own width; otherwise (a file, a pipe) none, so that what is written there is the
// same wherever it runs.
int StdoutTerminalWidth(int otherwise);

}  // namespace kelpa
