// SPDX-License-Identifier: MIT
// Reader and writer of Windows-style initialisation files ("[SECTION]" lines followed by
// "KEY=value" lines), behaving as the platform's profile-string functions do:
// - section and key names compare without regard to ASCII case; only the first of duplicate
//   sections and the first of duplicate keys count;
// - a section line starts with "[" (after blanks) and its name ends at the last "]"; a key line
//   splits at the first "="; a line without "=" holds no key; there are no inline comments;
// - a value loses the blanks at both ends, then one pair of enclosing quotes (double or single,
//   only when the value is longer than one character and ends with the quote it starts with),
//   then is cut to 2047 characters; a key present with an empty value reads as the empty text;
// - CR, LF and CRLF line ends are all read.
// Texts given and returned are UTF-8. Each line of the file (after a UTF-8 byte-order mark) is
// read as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise. A changed line keeps its
// encoding, and in a file with Windows-1252 lines a new line is Windows-1252 too (characters the
// code page lacks become "?"); a line whose Windows-1252 bytes would read back as UTF-8 is written
// in UTF-8 instead.
// Writing changes only the lines of the keys written: a new key goes after the last key of its
// section, a new section at the end of the file, new lines end in CRLF, and every other byte of
// the file is kept. UpdateFile writes a temporary file next to the target and renames it over the
// target, so a failed or interrupted save never leaves a half-written file.
// A file is read only when it is a regular file of at most kMaxIniFileSize bytes and not UTF-16;
// otherwise it reads as empty, Problem() says why, and UpdateFile refuses to replace it. Readers
// of an unchanged file share one reading of it (console/ini_text.h).
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "platform/ini_text.h"

namespace kelpa {

// The settings file: the current working directory at the moment of the call + "/kelpa.ini".
std::string KelpaIniPath();
// Whether the settings file exists as a regular file.
bool KelpaIniPresent();

class TIniFile {
 public:
  // Longest value returned, in characters.
  static constexpr std::size_t kMaxValueLength = 2047;
  // Takes the file as it is now; a missing or unreadable file reads as empty.
  explicit TIniFile(std::string path);

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  // Decimal or "0x" hexadecimal, optionally signed; anything else (or out of range) gives def.
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  // An integer; any value other than 0 is true.
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  bool HasKey(const std::string& section, const std::string& key) const;

  // Change the text in memory; UpdateFile saves it. Line breaks in names and values are replaced
  // by blanks so that a write can never add lines of its own.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  void WriteBool(const std::string& section, const std::string& key, bool value);

  // Saves the text through a temporary file and a rename; false when anything failed (the file
  // on disk is then unchanged). A file that was not read (Problem()), or that is read-only (no
  // write permission for its owner, or none for this process), is never replaced.
  bool UpdateFile();

  const std::string& Path() const { return path_; }
  // True when some line of the file is read as Windows-1252.
  bool IsWindows1252() const;
  TIniProblem Problem() const;
  // The bytes as they will be saved.
  const std::string& Bytes() const;

 private:
  struct KeyLine {
    std::size_t LineBegin = 0;
    std::size_t LineEnd = 0;     // one past the last byte before the line end
    std::size_t ValueBegin = 0;  // first byte after the "="
  };

  std::optional<KeyLine> FindKey(const std::string& section, const std::string& key) const;
  std::optional<std::string> RawValue(const std::string& section, const std::string& key) const;
  // A whole line of text, in the encoding it is to be written in.
  std::string Encode(const std::string& utf8Line, bool windows1252) const;
  // Replaces bytes [begin, end) with inserted, in a copy of the text of its own.
  void Edit(std::size_t begin, std::size_t end, const std::string& inserted);

  std::string path_;
  std::shared_ptr<const TIniText> text_;
};

}  // namespace kelpa
