// SPDX-License-Identifier: MIT
// Conversions between UTF-8 and Windows-1252, the single-byte code page of translated settings
// files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelpa {

// Decodes the character at pos and advances pos past it; nullopt (pos past the bytes that were
// taken for it) when the sequence is malformed.
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t c);

// True when bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Every Windows-1252 byte to its character; the five bytes the code page leaves undefined map
// to the control characters of the same value, as the platform's conversion does.
std::string Windows1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 byte become "?"; so does malformed UTF-8.
std::string Utf8ToWindows1252(std::string_view utf8);

// The first maxChars characters of a UTF-8 text (all of it when shorter).
std::string Utf8Prefix(std::string_view utf8, std::size_t maxChars);

}  // namespace kelpa
