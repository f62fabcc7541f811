#include "console/ini_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string_view>

#include "console/text_encoding.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t\v\f";

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) {
    return {};
  }
  const auto last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// A line that starts (after blanks) with "[" and holds a "]": the trimmed text between the first
// "[" and the last "]".
std::optional<std::string_view> SectionName(std::string_view line) {
  const auto open = line.find_first_not_of(kBlanks);
  if (open == std::string_view::npos || line[open] != '[') {
    return std::nullopt;
  }
  const auto close = line.rfind(']');
  if (close == std::string_view::npos || close < open) {
    return std::nullopt;
  }
  return Trim(line.substr(open + 1, close - open - 1));
}

std::optional<int> ParseInteger(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    pos = 1;
  }
  int base = 10;
  if (text.size() > pos + 1 && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= text.size()) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (base == 16 && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > std::int64_t{1} << 32) {
      return std::nullopt;
    }
  }
  if (negative) {
    value = -value;
  }
  if (value < INT32_MIN || value > INT32_MAX) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

// A name or value that is to become part of one line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') {
      c = ' ';
    }
  }
  return text;
}

std::string ReadWholeFile(const std::string& path) {
  // Only a regular file is read: a named pipe would block for ever and a device such as
  // /dev/zero would never end.
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    return {};
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return {};
  }
  std::ostringstream content;
  content << in.rdbuf();
  return in.bad() ? std::string() : content.str();
}

std::string TempSuffix() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  static constexpr char kDigits[] = "0123456789abcdef";
  std::uint64_t bits = generator();
  std::string suffix = ".tmp";
  for (int i = 0; i < 12; ++i, bits >>= 4) {
    suffix += kDigits[bits & 0xF];
  }
  return suffix;
}

// Creates a file of its own next to target; empty path when none could be created.
std::FILE* CreateTempFile(const fs::path& target, fs::path& tempPath) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    tempPath = target;
    tempPath += TempSuffix();
    if (std::FILE* file = std::fopen(tempPath.c_str(), "wbx")) {
      return file;
    }
    if (errno != EEXIST) {
      return nullptr;
    }
  }
  return nullptr;
}

bool WriteAndClose(std::FILE* file, const std::string& bytes) {
  const bool written =
      std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

}  // namespace

std::string KelpaIniPath() {
  std::error_code error;
  const fs::path directory = fs::current_path(error);
  return error ? std::string("kelpa.ini") : (directory / "kelpa.ini").string();
}

TIniFile::TIniFile(std::string path) : path_(std::move(path)), bytes_(ReadWholeFile(path_)) {
  textBegin_ = std::string_view(bytes_).starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
  windows1252_ = !IsValidUtf8(std::string_view(bytes_).substr(textBegin_));
  Parse();
}

void TIniFile::Parse() {
  lines_.clear();
  std::size_t pos = textBegin_;
  while (pos < bytes_.size()) {
    Line line;
    line.Begin = pos;
    const auto end = bytes_.find_first_of("\r\n", pos);
    line.End = end == std::string::npos ? bytes_.size() : end;
    if (line.End < bytes_.size()) {
      line.EolLength =
          bytes_[line.End] == '\r' && line.End + 1 < bytes_.size() && bytes_[line.End + 1] == '\n'
              ? 2
              : 1;
    }
    lines_.push_back(line);
    pos = line.End + line.EolLength;
  }
}

std::string TIniFile::Decode(std::size_t begin, std::size_t end) const {
  const std::string_view bytes = std::string_view(bytes_).substr(begin, end - begin);
  return windows1252_ ? Windows1252ToUtf8(bytes) : std::string(bytes);
}

std::string TIniFile::Encode(const std::string& utf8) const {
  return windows1252_ ? Utf8ToWindows1252(utf8) : utf8;
}

std::string_view TIniFile::RawLine(std::size_t index) const {
  return std::string_view(bytes_).substr(lines_[index].Begin,
                                         lines_[index].End - lines_[index].Begin);
}

// Brackets and blanks are the same bytes in UTF-8 and Windows-1252, so section lines are found in
// the raw bytes, and an ASCII name (every name the program asks for) is compared there too: a
// byte above 0x7F decodes to no ASCII character in either encoding. Only other names are decoded.
// This keeps a lookup in a large file from copying every line of it.
std::optional<std::size_t> TIniFile::FindSection(const std::string& section) const {
  const bool ascii = std::all_of(section.begin(), section.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto raw = SectionName(RawLine(i));
    if (!raw) {
      continue;
    }
    if (ascii
            ? SameName(*raw, section)
            : SameName(SectionName(Decode(lines_[i].Begin, lines_[i].End)).value_or(""), section)) {
      return i;
    }
  }
  return std::nullopt;
}

std::size_t TIniFile::SectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && !SectionName(RawLine(i))) {
    ++i;
  }
  return i;
}

std::optional<TIniFile::KeyLine> TIniFile::FindKey(const std::string& section,
                                                   const std::string& key) const {
  const auto header = FindSection(section);
  if (!header) {
    return std::nullopt;
  }
  const std::size_t end = SectionEnd(*header);
  for (std::size_t i = *header + 1; i < end; ++i) {
    const std::string_view line =
        std::string_view(bytes_).substr(lines_[i].Begin, lines_[i].End - lines_[i].Begin);
    const auto equals = line.find('=');
    if (equals != std::string_view::npos &&
        SameName(Trim(Decode(lines_[i].Begin, lines_[i].Begin + equals)), key)) {
      return KeyLine{i, lines_[i].Begin + equals + 1};
    }
  }
  return std::nullopt;
}

std::optional<std::string> TIniFile::RawValue(const std::string& section,
                                              const std::string& key) const {
  const auto found = FindKey(section, key);
  if (!found) {
    return std::nullopt;
  }
  return Decode(found->ValueBegin, lines_[found->LineIndex].End);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
  const auto raw = RawValue(section, key);
  if (!raw) {
    return def;
  }
  return Utf8Prefix(Unquote(Trim(*raw)), kMaxValueLength);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  if (!HasKey(section, key)) {
    return def;
  }
  return ParseInteger(ReadString(section, key, "")).value_or(def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::HasKey(const std::string& section, const std::string& key) const {
  return FindKey(section, key).has_value();
}

void TIniFile::InsertLine(std::size_t position, bool needsBreakBefore, const std::string& text) {
  std::string inserted = needsBreakBefore ? "\r\n" : "";
  inserted += Encode(text);
  inserted += "\r\n";
  bytes_.insert(position, inserted);
  Parse();
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  const std::string cleanSection = OneLine(section);
  const std::string cleanKey = OneLine(key);
  const std::string cleanValue = OneLine(value);
  if (const auto found = FindKey(cleanSection, cleanKey)) {
    // Replace the value between its surrounding blanks, keeping the rest of the line.
    const Line& line = lines_[found->LineIndex];
    const std::string_view old =
        std::string_view(bytes_).substr(found->ValueBegin, line.End - found->ValueBegin);
    const auto first = old.find_first_not_of(kBlanks);
    const std::size_t begin = found->ValueBegin + (first == std::string_view::npos ? 0 : first);
    const std::size_t end = first == std::string_view::npos
                                ? begin
                                : found->ValueBegin + old.find_last_not_of(kBlanks) + 1;
    bytes_.replace(begin, end - begin, Encode(cleanValue));
    Parse();
    return;
  }
  const std::string keyLine = cleanKey + "=" + cleanValue;
  if (const auto header = FindSection(cleanSection)) {
    std::size_t last = *header;
    const std::size_t end = SectionEnd(*header);
    for (std::size_t i = *header + 1; i < end; ++i) {
      if (std::string_view(bytes_)
              .substr(lines_[i].Begin, lines_[i].End - lines_[i].Begin)
              .find('=') != std::string_view::npos) {
        last = i;
      }
    }
    const Line& after = lines_[last];
    InsertLine(after.End + after.EolLength, after.EolLength == 0, keyLine);
    return;
  }
  const bool needsBreak = !lines_.empty() && lines_.back().EolLength == 0;
  InsertLine(bytes_.size(), needsBreak, "[" + cleanSection + "]");
  InsertLine(bytes_.size(), false, keyLine);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::UpdateFile() {
  std::error_code error;
  fs::path target = path_;
  if (fs::is_symlink(target, error)) {
    // Save through the link rather than replacing it with a plain file.
    const fs::path resolved = fs::canonical(target, error);
    if (!error) {
      target = resolved;
    }
  }
  // Only a regular file (or none) is replaced: never a folder, a pipe or a device.
  const auto existing = fs::status(target, error);
  if (fs::exists(existing) && !fs::is_regular_file(existing)) {
    return false;
  }
  fs::path temp;
  std::FILE* file = CreateTempFile(target, temp);
  if (file == nullptr) {
    return false;
  }
  if (!WriteAndClose(file, bytes_)) {
    fs::remove(temp, error);
    return false;
  }
  if (fs::is_regular_file(existing)) {
    fs::permissions(temp, existing.permissions(), error);
  }
  fs::rename(temp, target, error);
  if (error) {
    fs::remove(temp, error);
    return false;
  }
  return true;
}

}  // namespace kelpa
