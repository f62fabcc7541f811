// SPDX-License-Identifier: MIT
// Catalogue texts with blanks to fill: "%1" ... "%9" stand for the arguments in order, so a
// translation may put them in any order its language needs.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kelpa {

// pattern with each "%N" replaced by the N-th argument; "%N" past the arguments, and any other
// "%", stay as written.
std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> args);
// FillIn with each argument put through show first.
std::string FillInShownBy(std::string_view pattern, std::initializer_list<std::string_view> args,
                          std::string (*show)(std::string_view));

}  // namespace kelpa
