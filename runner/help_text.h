// SPDX-License-Identifier: MIT
// The runner's --help: the synopsis of each command with the catalogue's words, every line at most
// 80 columns wide whatever the translation's length.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "catalogue/messages.h"

namespace kelpa {

inline constexpr std::size_t kHelpWidth = 80;

// text in lines of at most width characters (UTF-8), each begun with indent, broken between
// words; a word longer than a line stands alone on its own. Each line ends with '\n'.
std::string Wrapped(std::string_view text, std::string_view indent, std::size_t width = kHelpWidth);

void WriteHelp(std::ostream& out, const TMessages& msg);

}  // namespace kelpa
