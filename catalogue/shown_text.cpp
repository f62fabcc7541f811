// SPDX-License-Identifier: MIT
#include "catalogue/shown_text.h"

#include "catalogue/fill_in.h"

namespace kelpa {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// The length of the valid UTF-8 sequence at text[i], or 0.
std::size_t SequenceAt(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const std::size_t length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
  if (length == 0 || i + length > text.size()) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
      return 0;
    }
  }
  const auto second = static_cast<unsigned char>(length > 1 ? text[i + 1] : 0);
  // Overlong forms, UTF-16 surrogates and values past U+10FFFF.
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
      (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90)) {
    return 0;
  }
  return length;
}

std::string Escaped(std::string_view text, std::size_t maxCharacters) {
  std::string shown;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++characters) {
    if (characters == maxCharacters) {
      return shown + "…";
    }
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = SequenceAt(text, i);
    if (length == 0 || byte < 0x20 || byte == 0x7F) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
      ++i;
    } else if (byte == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      const auto c1 = static_cast<unsigned char>(text[i + 1]);
      shown += "\\u00";
      shown += kHex[c1 >> 4];
      shown += kHex[c1 & 0xF];
      i += 2;
    } else {
      shown += text.substr(i, length);
      i += length;
    }
  }
  return shown;
}

}  // namespace

std::string EscapedText(std::string_view text) {
  return Escaped(text, std::string_view::npos);
}

std::string ShownValue(std::string_view text) {
  return Escaped(text, kShownCharacters);
}

std::string FillInShown(std::string_view pattern, std::initializer_list<std::string_view> args) {
  return FillInShownBy(pattern, args, ShownValue);
}

}  // namespace kelpa
