// SPDX-License-Identifier: MIT
// A plain-text table: columns two spaces apart, the first left-aligned and the rest
// right-aligned, widths measured in characters (UTF-8), no trailing spaces.
#pragma once

#include <string>
#include <vector>

#include "exports/output_buffer.h"

namespace kelpa {

using TextRow = std::vector<std::string>;

void WriteTextTable(OutputBuffer& out, const std::vector<TextRow>& rows);
// The width of text in characters (UTF-8), as the table measures it.
std::size_t Characters(const std::string& text);

}  // namespace kelpa
