// SPDX-License-Identifier: MIT
#include "catalogue/fill_in.h"

namespace kelpa {

std::string FillInShownBy(std::string_view pattern, std::initializer_list<std::string_view> args,
                          std::string (*show)(std::string_view)) {
  std::string text;
  text.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    const auto index = static_cast<std::size_t>(next - '1');
    if (pattern[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
      text += show(*(args.begin() + index));
      ++i;
    } else {
      text += pattern[i];
    }
  }
  return text;
}

std::string FillIn(std::string_view pattern, std::initializer_list<std::string_view> args) {
  return FillInShownBy(pattern, args, [](std::string_view arg) { return std::string(arg); });
}

}  // namespace kelpa
