// SPDX-License-Identifier: MIT
// What a user typed or a file held, as a message shows it: a control character (an escape
// sequence's ESC, a line break, a C1 control) or a byte that is not UTF-8 would act on the
// terminal or break the line, and a huge value would flood it, so they are written as escapes
// and a long value is cut.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kelpa {

inline constexpr std::size_t kShownCharacters = 80;

// Control characters and bytes that are not UTF-8 as "\x1b" (C1 controls as "\u009b").
std::string EscapedText(std::string_view text);
// EscapedText of at most kShownCharacters characters of text, with "…" after a cut.
std::string ShownValue(std::string_view text);
// FillIn with each argument as ShownValue gives it.
std::string FillInShown(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace kelpa
