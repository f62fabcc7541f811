// SPDX-License-Identifier: MIT
// A process's program as an instruction list: the six kinds' templates, and programs of one's
// own written as a readable list ("C*5, E1, L3*2, C*3"). One instruction takes one tick on the
// processor; its fetch is a reference to the page that holds it, and a data instruction adds a
// reference to the page it names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelpa {

// Instruction codes: 0 compute, 1..3 I/O of that class, -1 a write into the instruction's own
// page, kReadBase + p a read of page p, kWriteBase + p a write of page p.
inline constexpr std::int32_t kCompute = 0;
inline constexpr std::int32_t kWrite = -1;
inline constexpr std::int32_t kReadBase = 100;
inline constexpr std::int32_t kWriteBase = 200;

inline constexpr bool IsIoInstruction(std::int32_t code) {
  return code >= 1 && code <= 3;
}
// Whether the instruction writes the page DataPageOf names.
inline constexpr bool WritesData(std::int32_t code) {
  return code == kWrite || code >= kWriteBase;
}
// The page whose data the instruction at a place of instructionPage references; -1 for none.
inline constexpr int DataPageOf(std::int32_t code, int instructionPage) {
  if (code == kWrite) {
    return instructionPage;
  }
  if (code >= kWriteBase) {
    return code - kWriteBase;
  }
  if (code >= kReadBase) {
    return code - kReadBase;
  }
  return -1;
}

struct ProcessProgram {
  std::vector<std::int32_t> Codes;
  bool Repeats = true;  // false: the process ends after its last instruction
  friend bool operator==(const ProcessProgram&, const ProcessProgram&) = default;
};

enum class ProgramFault : std::uint8_t { None, Empty, BadInstruction, BadPage, TooLong };

struct ProgramParse {
  std::vector<std::int32_t> Codes;
  ProgramFault Fault = ProgramFault::None;
  std::string Item;  // the item refused, as written
  int Length = 0;    // the instructions it would have had (TooLong)
};

// Reads "C", "E1".."E3", "W", "L<page>", "G<page>", each with an optional "*n", separated by
// commas, in any ASCII case; at most maxLength instructions once repeats are counted, pages
// within 0..pageCount-1.
ProgramParse ParseProgram(std::string_view text, int maxLength, int pageCount);

// The readable form of codes, runs of one instruction written with "*n"; ParseProgram reads it
// back to the same codes.
std::string ProgramText(const std::vector<std::int32_t>& codes);

// The instruction's readable name: "C", "E1", "W", "L3", "G0".
std::string InstructionName(std::int32_t code);

}  // namespace kelpa
