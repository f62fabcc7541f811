// SPDX-License-Identifier: MIT
// A printable document laid out on A4 pages and written as PDF by Qt. Needs a QGuiApplication
// (the offscreen platform will do): the fonts are measured and drawn through it.
#pragma once

#include <string>

#include "exports/print_document.h"

namespace kelpa {

// Writes doc to file, whole or not at all: the pages go to a temporary file beside it, which
// replaces the file only once it is complete. False, with the system's reason in error when
// given, when the file could not be written (a folder of that name, a missing folder, a full
// disk); the old file is then as it was.
bool WritePdf(const PrintDocument& doc, const std::string& file, std::string* error = nullptr);

}  // namespace kelpa
