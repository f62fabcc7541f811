// SPDX-License-Identifier: MIT
// The bytes of a settings file with its sections indexed, and the one reading of each file that
// all its readers share. A look-up of a file that has not changed since it was last read (same
// file, size, modification and change times) reads nothing from disk: a window that translates
// itself every second costs one status call, whatever the size of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelpa {

// Largest settings file read, in bytes: the program's own files are a few tens of kilobytes.
inline constexpr std::uintmax_t kMaxIniFileSize = std::uintmax_t{1} << 20;

// Why a file that exists was not read.
enum class TIniProblem { None, TooLarge, Utf16 };

struct TIniText {
  struct Section {
    std::size_t Header = 0;  // first byte of the header line
    std::size_t Body = 0;    // first byte after the header line
    std::size_t End = 0;     // first byte of the next header line, or the end of the text
  };

  std::string Bytes;
  std::size_t TextBegin = 0;  // after a UTF-8 byte-order mark
  // Each line is decoded on its own: as UTF-8 when it is valid UTF-8, otherwise as Windows-1252,
  // so a line added by a UTF-8 editor to an older Windows-1252 file reads right, and so do the
  // file's own lines. The first bytes of the Windows-1252 lines, in order.
  std::vector<std::size_t> Windows1252Lines;
  bool Windows1252 = false;  // some line is
  TIniProblem Problem = TIniProblem::None;
  std::vector<Section> Sections;
  // The first section of each name: its decoded name with ASCII letters in lower case.
  std::unordered_map<std::string, std::size_t> FirstSection;

  // Decides the encoding of each line and indexes the sections of Bytes.
  void Index();
  // Bytes [begin, end), within one line, as UTF-8.
  std::string Decode(std::size_t begin, std::size_t end) const;
  // Whether the line holding the byte at pos is read as Windows-1252.
  bool IsWindows1252Line(std::size_t pos) const;
  // The first section named section (any ASCII case).
  const Section* FindSection(const std::string& section) const;
};

// The file as it is now: shared with earlier readers while it is unchanged. A missing file, or
// anything but a regular file, reads as empty; so does a file too large or in UTF-16, with
// Problem set.
std::shared_ptr<const TIniText> ReadIniText(const std::string& path);

// The first limit + 1 bytes of path when it is a regular file (so that a longer file shows it is
// longer); none when it is anything else (a named pipe would block for ever, a device such as
// /dev/zero never end) or cannot be read.
std::optional<std::string> ReadRegularFile(const std::string& path, std::uintmax_t limit);

// How many times a file's bytes were read from disk in this process.
std::size_t IniDiskReads();

// Helpers of the format shared by the reader and the writer.
inline constexpr std::string_view kIniBlanks = " \t\v\f";
std::string_view TrimBlanks(std::string_view s);
// ASCII letters compared without regard to case; every other byte exactly.
bool SameName(std::string_view a, std::string_view b);
std::string FoldName(std::string_view name);
// A line that starts (after blanks) with "[" and holds a "]": the trimmed text between the first
// "[" and the last "]".
std::optional<std::string_view> SectionName(std::string_view line);

struct TLineSpan {
  std::size_t Begin = 0;
  std::size_t End = 0;   // one past the last byte before the line end
  std::size_t Next = 0;  // first byte after the line end (CR, LF or CRLF)
};
TLineSpan LineAt(std::string_view bytes, std::size_t begin);

}  // namespace kelpa
