// SPDX-License-Identifier: MIT
// SHA-256 of a byte string, so the runner can name exactly which scenario file it ran.
#pragma once

#include <string>
#include <string_view>

namespace kelpa {

// The digest as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace kelpa
