// SPDX-License-Identifier: MIT
// The command-line runner: runs, compares and checks scenarios with no display. The program
// entry asks it first, before any window exists.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "exports/print_document.h"
#include "exports/timeline_file.h"
#include "runner/compare_runs.h"

namespace kelpa {

// Carries out the command line when it asks for the runner (its first argument starts with
// "--", or is -h or -V) and returns the exit status: 0 success, 2 usage or scenario error, 3 run
// error (a file or standard output that could not be written). Returns
// nothing for any other command line, which then starts the windows.
// png draws --timeline's PNG pictures (the runner draws SVG by itself); none refuses them. pdf
// lays out the documents the runner prints as PDF; none refuses them.
std::optional<int> RunCommandLine(int argc, char* argv[], TimelinePngPainter png = {},
                                  PdfPainter pdf = {});

// The runner on the arguments after the program name: data to out, messages to err. The texts
// are the built-in ones, or kelpa.ini's when the working folder has one. width: how wide the
// comparison's text may be on out.
int RunRunner(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              TimelinePngPainter png = {}, int width = kDefaultTextWidth, PdfPainter pdf = {});

}  // namespace kelpa
