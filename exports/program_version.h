// SPDX-License-Identifier: MIT
// The program's version, as the build names it.
#pragma once

#include <string_view>

namespace kelpa {

std::string_view ProgramVersion();

}  // namespace kelpa
