// SPDX-License-Identifier: MIT
#include "platform/ini_file.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "platform/ini_temp_file.h"
#include "platform/text_encoding.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;

std::string_view Unquote(std::string_view value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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

}  // namespace

std::string KelpaIniPath() {
  std::error_code error;
  const fs::path directory = fs::current_path(error);
  return error ? std::string("kelpa.ini") : (directory / "kelpa.ini").string();
}

bool KelpaIniPresent() {
  std::error_code error;
  return fs::is_regular_file(KelpaIniPath(), error);
}

TIniFile::TIniFile(std::string path) : path_(std::move(path)), text_(ReadIniText(path_)) {}

bool TIniFile::IsWindows1252() const {
  return text_->Windows1252;
}

TIniProblem TIniFile::Problem() const {
  return text_->Problem;
}

const std::string& TIniFile::Bytes() const {
  return text_->Bytes;
}

// A line written into a file that has Windows-1252 lines is written in Windows-1252 too, so the
// editor that made them still shows it right; unless those bytes would read back as UTF-8
// (accented capitals followed by symbols can), when it is written in UTF-8, which reads back as
// written.
std::string TIniFile::Encode(const std::string& utf8Line, bool windows1252) const {
  if (!windows1252) {
    return utf8Line;
  }
  std::string encoded = Utf8ToWindows1252(utf8Line);
  return IsAscii(encoded) || !IsValidUtf8(encoded) ? encoded : utf8Line;
}

// An ASCII name (every name the program asks for) is compared in the raw bytes: a byte above
// 0x7F decodes to no ASCII character in either encoding. Only other names are decoded. This keeps
// a look-up in a large section from copying every line of it.
std::optional<TIniFile::KeyLine> TIniFile::FindKey(const std::string& section,
                                                   const std::string& key) const {
  const TIniText::Section* found = text_->FindSection(section);
  if (found == nullptr) {
    return std::nullopt;
  }
  const std::string_view bytes(text_->Bytes);
  const bool ascii = IsAscii(key);
  for (std::size_t pos = found->Body; pos < found->End;) {
    const TLineSpan line = LineAt(bytes, pos);
    pos = line.Next;
    const auto equals = bytes.substr(line.Begin, line.End - line.Begin).find('=');
    if (equals == std::string_view::npos) {
      continue;
    }
    const bool same =
        ascii ? SameName(TrimBlanks(bytes.substr(line.Begin, equals)), key)
              : SameName(TrimBlanks(text_->Decode(line.Begin, line.Begin + equals)), key);
    if (same) {
      return KeyLine{line.Begin, line.End, line.Begin + equals + 1};
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
  return text_->Decode(found->ValueBegin, found->LineEnd);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
  const auto raw = RawValue(section, key);
  if (!raw) {
    return def;
  }
  return Utf8Prefix(Unquote(TrimBlanks(*raw)), kMaxValueLength);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
  const auto raw = RawValue(section, key);
  if (!raw) {
    return def;
  }
  return ParseInteger(Utf8Prefix(Unquote(TrimBlanks(*raw)), kMaxValueLength)).value_or(def);
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TIniFile::HasKey(const std::string& section, const std::string& key) const {
  return FindKey(section, key).has_value();
}

void TIniFile::Edit(std::size_t begin, std::size_t end, const std::string& inserted) {
  // The text read is shared with other readers of the file: change a copy of one's own.
  auto edited = std::make_shared<TIniText>(*text_);
  edited->Bytes.replace(begin, end - begin, inserted);
  edited->Index();
  text_ = std::move(edited);
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  const std::string cleanSection = OneLine(section);
  const std::string cleanKey = OneLine(key);
  const std::string cleanValue = OneLine(value);
  const std::string_view bytes(text_->Bytes);
  if (const auto found = FindKey(cleanSection, cleanKey)) {
    // Replace the value between its surrounding blanks, keeping the rest of the line.
    const std::string_view old =
        bytes.substr(found->ValueBegin, found->LineEnd - found->ValueBegin);
    const auto first = old.find_first_not_of(kIniBlanks);
    const std::size_t begin = found->ValueBegin + (first == std::string_view::npos ? 0 : first);
    const std::size_t end = first == std::string_view::npos
                                ? begin
                                : found->ValueBegin + old.find_last_not_of(kIniBlanks) + 1;
    // The line keeps its encoding: a UTF-8 line stays UTF-8 in a Windows-1252 file. Its other
    // bytes come back as they were, since either decoding is undone exactly.
    const std::string_view lineBytes =
        bytes.substr(found->LineBegin, found->LineEnd - found->LineBegin);
    const bool windows1252 =
        text_->IsWindows1252Line(found->LineBegin) || (text_->Windows1252 && IsAscii(lineBytes));
    Edit(found->LineBegin, found->LineEnd,
         Encode(text_->Decode(found->LineBegin, begin) + cleanValue +
                    text_->Decode(end, found->LineEnd),
                windows1252));
    return;
  }
  const std::string keyLine = Encode(cleanKey + "=" + cleanValue, text_->Windows1252) + "\r\n";
  if (const TIniText::Section* header = text_->FindSection(cleanSection)) {
    // After the section's last key line, or after its header when it has none.
    TLineSpan after = LineAt(bytes, header->Header);
    for (std::size_t pos = header->Body; pos < header->End;) {
      const TLineSpan line = LineAt(bytes, pos);
      pos = line.Next;
      if (bytes.substr(line.Begin, line.End - line.Begin).find('=') != std::string_view::npos) {
        after = line;
      }
    }
    Edit(after.Next, after.Next, (after.Next == after.End ? "\r\n" : "") + keyLine);
    return;
  }
  const bool needsBreak =
      bytes.size() > text_->TextBegin && bytes.back() != '\r' && bytes.back() != '\n';
  Edit(bytes.size(), bytes.size(),
       (needsBreak ? "\r\n" : "") + Encode("[" + cleanSection + "]", text_->Windows1252) + "\r\n" +
           keyLine);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::UpdateFile() {
  // A file that was not read would be replaced by the little the program wrote into it.
  if (text_->Problem != TIniProblem::None) {
    return false;
  }
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
  // The rename would replace a file its owner made read-only (the folder decides a rename, and the
  // superuser passes any permission check): such a file is left as it is.
  if (fs::is_regular_file(existing) &&
      ((existing.permissions() & fs::perms::owner_write) == fs::perms::none ||
       ::access(target.c_str(), W_OK) != 0)) {
    return false;
  }
  TIniTempFile temp(target);
  if (!temp.Write(text_->Bytes)) {
    return false;
  }
  if (fs::is_regular_file(existing)) {
    fs::permissions(temp.Path(), existing.permissions(), error);
  }
  return temp.RenameOver(target);
}

}  // namespace kelpa
