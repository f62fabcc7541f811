// SPDX-License-Identifier: MIT
#include "simulation/program.h"

#include <cctype>
#include <charconv>

#include "platform/ini_text.h"

namespace kelpa {
namespace {

// Digits only, no sign, within 0..limit; none otherwise.
std::optional<int> SmallNumber(std::string_view text, int limit) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != text.npos) {
    return std::nullopt;
  }
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value <= limit ? std::optional<int>(value) : std::nullopt;
}

// The code of one instruction name, or kInvalid; a page out of range gives kBadPage.
constexpr std::int32_t kInvalid = -1000;
constexpr std::int32_t kBadPage = -1001;

std::int32_t CodeOf(std::string_view name, int pageCount) {
  if (name.empty()) {
    return kInvalid;
  }
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name.front())));
  const std::string_view rest = name.substr(1);
  if (letter == 'C' && rest.empty()) {
    return kCompute;
  }
  if (letter == 'W' && rest.empty()) {
    return kWrite;
  }
  if (letter == 'E' && rest.size() == 1 && rest.front() >= '1' && rest.front() <= '3') {
    return rest.front() - '0';
  }
  if (letter == 'L' || letter == 'G') {
    const auto page = SmallNumber(rest, 999);
    if (!page) {
      return kInvalid;
    }
    if (*page >= pageCount) {
      return kBadPage;
    }
    return (letter == 'L' ? kReadBase : kWriteBase) + *page;
  }
  return kInvalid;
}

}  // namespace

ProgramParse ParseProgram(std::string_view text, int maxLength, int pageCount) {
  ProgramParse parse;
  if (TrimBlanks(text).empty()) {
    parse.Fault = ProgramFault::Empty;
    return parse;
  }
  std::size_t count = 0;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view item = TrimBlanks(text.substr(0, comma));
    const std::size_t star = item.find('*');
    const std::int32_t code = CodeOf(TrimBlanks(item.substr(0, star)), pageCount);
    const auto repeat = star == item.npos ? std::optional<int>(1)
                                          : SmallNumber(TrimBlanks(item.substr(star + 1)), 99999);
    if (code == kInvalid || code == kBadPage || !repeat || *repeat == 0) {
      parse.Fault = code == kBadPage ? ProgramFault::BadPage : ProgramFault::BadInstruction;
      parse.Item = item;
      return parse;
    }
    count += static_cast<std::size_t>(*repeat);
    if (count <= static_cast<std::size_t>(maxLength)) {
      parse.Codes.insert(parse.Codes.end(), static_cast<std::size_t>(*repeat), code);
    }
    if (comma == text.npos) {
      break;
    }
    text.remove_prefix(comma + 1);
  }
  if (count > static_cast<std::size_t>(maxLength)) {
    parse.Fault = ProgramFault::TooLong;
    parse.Length = static_cast<int>(count);
    parse.Codes.clear();
  }
  return parse;
}

std::string InstructionName(std::int32_t code) {
  if (code == kCompute) {
    return "C";
  }
  if (code == kWrite) {
    return "W";
  }
  // Appended, not concatenated: GCC 12 warns falsely on "E" + std::string at -O3.
  std::string name(IsIoInstruction(code) ? "E" : code >= kWriteBase ? "G" : "L");
  name.append(std::to_string(IsIoInstruction(code) ? code : DataPageOf(code, 0)));
  return name;
}

std::string ProgramText(const std::vector<std::int32_t>& codes) {
  std::string text;
  for (std::size_t i = 0; i < codes.size();) {
    std::size_t end = i;
    while (end < codes.size() && codes[end] == codes[i]) {
      ++end;
    }
    if (!text.empty()) {
      text += ", ";
    }
    text += InstructionName(codes[i]);
    if (end - i > 1) {
      text += '*';
      text += std::to_string(end - i);
    }
    i = end;
  }
  return text;
}

}  // namespace kelpa
