// SPDX-License-Identifier: MIT
// The one output stream of the formats, the runner's and the windows' exports: text gathers in a
// buffer that goes out in large pieces, numbers are written with std::to_chars ('.' decimals
// whatever the locale), and nothing flushes per line.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace kelpa {

class OutputBuffer {
 public:
  explicit OutputBuffer(std::ostream& out) : out_(out) { buffer_.reserve(2 * kChunk); }
  ~OutputBuffer() { Flush(); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  OutputBuffer& operator<<(std::string_view text) {
    buffer_ += text;
    return Spill();
  }
  OutputBuffer& operator<<(char c) {
    buffer_ += c;
    return Spill();
  }
  OutputBuffer& Int(std::int64_t value);
  // Fixed-point with `decimals` digits after a '.'.
  OutputBuffer& Fixed(double value, int decimals);
  // A field of a comma-separated row, quoted (RFC 4180) when it holds a comma, quote or line end.
  OutputBuffer& CsvField(std::string_view text);
  // A JSON string, quotes included.
  OutputBuffer& JsonString(std::string_view text);
  // Milliseconds of virtual time as "hh:nn:ss:zzz" (hours go past 24); without milliseconds
  // "hh:nn:ss".
  OutputBuffer& VirtualTime(std::int64_t ms, bool withMilliseconds = true);

  // Hands everything gathered so far to the stream; false once the stream has failed.
  bool Flush();

 private:
  static constexpr std::size_t kChunk = 1 << 16;
  OutputBuffer& Spill() {
    if (buffer_.size() >= kChunk) {
      Flush();
    }
    return *this;
  }

  std::ostream& out_;
  std::string buffer_;
};

// The same texts, as strings (tables whose column widths are measured first).
std::string FixedText(double value, int decimals);
std::string VirtualTimeText(std::int64_t ms, bool withMilliseconds = true);

}  // namespace kelpa
