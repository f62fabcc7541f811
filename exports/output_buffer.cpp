// SPDX-License-Identifier: MIT
#include "exports/output_buffer.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kelpa {

OutputBuffer& OutputBuffer::Int(std::int64_t value) {
  std::array<char, 24> digits;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  buffer_.append(digits.data(), end);
  return Spill();
}

OutputBuffer& OutputBuffer::Fixed(double value, int decimals) {
  return *this << FixedText(value, decimals);
}

OutputBuffer& OutputBuffer::CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    return *this << text;
  }
  buffer_ += '"';
  for (const char c : text) {
    if (c == '"') {
      buffer_ += '"';
    }
    buffer_ += c;
  }
  buffer_ += '"';
  return Spill();
}

OutputBuffer& OutputBuffer::JsonString(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  buffer_ += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      buffer_ += '\\';
      buffer_ += c;
    } else if (byte < 0x20) {
      buffer_ += "\\u00";
      buffer_ += kHex[byte >> 4];
      buffer_ += kHex[byte & 0xF];
    } else {
      buffer_ += c;
    }
  }
  buffer_ += '"';
  return Spill();
}

OutputBuffer& OutputBuffer::VirtualTime(std::int64_t ms, bool withMilliseconds) {
  return *this << VirtualTimeText(ms, withMilliseconds);
}

bool OutputBuffer::Flush() {
  if (!buffer_.empty()) {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }
  return static_cast<bool>(out_);
}

std::string FixedText(double value, int decimals) {
  // Rounding can give "-0.00" for a tiny negative value; no figure is negative.
  if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) {
    value = 0;
  }
  std::array<char, 64> digits;
  const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                    std::chars_format::fixed, decimals);
  return {digits.data(), result.ptr};
}

std::string VirtualTimeText(std::int64_t ms, bool withMilliseconds) {
  const auto two = [](std::int64_t n) {
    return std::string(n < 10 ? "0" : "") + std::to_string(n);
  };
  std::string text = two(ms / 3600000) + ":" + two(ms / 60000 % 60) + ":" + two(ms / 1000 % 60);
  if (withMilliseconds) {
    const std::int64_t z = ms % 1000;
    text += (z < 100 ? (z < 10 ? ":00" : ":0") : ":") + std::to_string(z);
  }
  return text;
}

}  // namespace kelpa
