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
// Texts given and returned are UTF-8. A file that is valid UTF-8 (with or without a byte-order
// mark) is read as UTF-8; any other file as Windows-1252, and values written into it are encoded
// back to Windows-1252, so the file keeps one encoding.
// Writing changes only the lines of the keys written: a new key goes after the last key of its
// section, a new section at the end of the file, new lines end in CRLF, and every other byte of
// the file is kept. UpdateFile writes a temporary file next to the target and renames it over the
// target, so a failed or interrupted save never leaves a half-written file.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelpa {

// The settings file: the current working directory at the moment of the call + "/kelpa.ini".
std::string KelpaIniPath();

class TIniFile {
 public:
  // Longest value returned, in characters.
  static constexpr std::size_t kMaxValueLength = 2047;

  // Reads the file now; a missing or unreadable file reads as empty.
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
  // on disk is then unchanged).
  bool UpdateFile();

  const std::string& Path() const { return path_; }
  // True when the file was read as Windows-1252.
  bool IsWindows1252() const { return windows1252_; }
  // The bytes as they will be saved.
  const std::string& Bytes() const { return bytes_; }

 private:
  struct Line {
    std::size_t Begin = 0;      // first byte of the line
    std::size_t End = 0;        // one past the last byte before the line end
    std::size_t EolLength = 0;  // 0 (last line without line end), 1 (CR or LF) or 2 (CRLF)
  };
  struct KeyLine {
    std::size_t LineIndex = 0;
    std::size_t ValueBegin = 0;  // first byte after the "="
  };

  void Parse();
  // The bytes of a line, without its line end.
  std::string_view RawLine(std::size_t index) const;
  std::optional<std::size_t> FindSection(const std::string& section) const;
  // The lines of a section: from its header (exclusive) to the next section header.
  std::size_t SectionEnd(std::size_t header) const;
  std::optional<KeyLine> FindKey(const std::string& section, const std::string& key) const;
  std::optional<std::string> RawValue(const std::string& section, const std::string& key) const;
  std::string Decode(std::size_t begin, std::size_t end) const;
  std::string Encode(const std::string& utf8) const;
  void InsertLine(std::size_t position, bool needsBreakBefore, const std::string& text);

  std::string path_;
  std::string bytes_;
  std::size_t textBegin_ = 0;  // after a UTF-8 byte-order mark
  bool windows1252_ = false;
  std::vector<Line> lines_;
};

}  // namespace kelpa
