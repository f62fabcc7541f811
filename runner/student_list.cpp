// SPDX-License-Identifier: MIT
#include "runner/student_list.h"

#include "catalogue/fill_in.h"
#include "catalogue/shown_text.h"
#include "platform/ini_text.h"
#include "platform/text_encoding.h"

namespace kelpa {
namespace {

// A name longer than this is cut in its stem: the order already tells the files apart.
constexpr std::size_t kMaxSlug = 40;

// The ASCII letter of each code point U+00C0..U+00FF, or 0 for a sign (× and ÷).
constexpr char kFolded[] = "AAAAAAACEEEEIIIIDNOOOOO\0OUUUUYTsaaaaaaaceeeeiiiidnooooo\0ouuuuyty";

char Folded(std::uint32_t codePoint) {
  if (codePoint < 0x80) {
    return static_cast<char>(codePoint);
  }
  if (codePoint >= 0xC0 && codePoint <= 0xFF) {
    return kFolded[codePoint - 0xC0];
  }
  return 0;
}

}  // namespace

StudentListReading ReadStudentList(std::string_view bytes, const std::string& file,
                                   const TMessages& msg) {
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    bytes.remove_prefix(3);
  }
  const std::string text = IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
  StudentListReading reading;
  int number = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const TLineSpan span = LineAt(text, pos);
    pos = span.Next;
    ++number;
    const std::string_view name =
        TrimBlanks(std::string_view(text).substr(span.Begin, span.End - span.Begin));
    if (name.empty()) {
      continue;
    }
    for (const Student& seen : reading.Students) {
      if (SameName(seen.Name, name)) {
        return {
            {},
            ScenarioError{file, number,
                          FillInShown(msg.MsgTarAlunoRepetido, {name, std::to_string(seen.Line)})}};
      }
    }
    reading.Students.push_back({std::string(name), number});
  }
  if (reading.Students.empty()) {
    return {{}, ScenarioError{file, 0, msg.MsgTarListaVazia}};
  }
  return reading;
}

StudentListReading ReadStudentListFile(const std::string& path, const TMessages& msg) {
  ScenarioError error;
  const auto bytes = ReadScenarioBytes(path, msg, error);
  if (!bytes) {
    return {{}, error};
  }
  if (bytes->size() > kMaxIniFileSize) {
    return {{}, ScenarioError{path, 0, msg.MsgCenArquivoGrande}};
  }
  return ReadStudentList(*bytes, path, msg);
}

std::uint32_t HomeworkSeed(std::string_view lessonBytes, std::string_view name) {
  constexpr std::uint32_t kOffset = 2166136261U;
  constexpr std::uint32_t kPrime = 16777619U;
  std::uint32_t hash = kOffset;
  const auto add = [&](unsigned char byte) {
    hash ^= byte;
    hash *= kPrime;
  };
  for (const char c : lessonBytes) {
    add(static_cast<unsigned char>(c));
  }
  add(0);
  for (const char c : name) {
    add(static_cast<unsigned char>(c));
  }
  return hash;
}

std::string StudentStem(int order, std::string_view name) {
  std::string stem = std::to_string(order);
  if (stem.size() < 2) {
    stem.insert(stem.begin(), '0');
  }
  std::string slug;
  bool dash = false;  // a run of other characters waiting to be one "-"
  for (std::size_t at = 0; at < name.size();) {
    // One UTF-8 sequence (the list is valid UTF-8 once read).
    const auto lead = static_cast<unsigned char>(name[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::uint32_t codePoint = length == 1 ? lead : lead & (0x3FU >> (length - 1));
    for (std::size_t i = 1; i < length && at + i < name.size(); ++i) {
      codePoint = (codePoint << 6) | (static_cast<unsigned char>(name[at + i]) & 0x3FU);
    }
    at += length;
    char c = Folded(codePoint);
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) {
      dash = !slug.empty();
      continue;
    }
    if (slug.size() >= kMaxSlug) {
      break;
    }
    if (dash) {
      slug += '-';
      dash = false;
    }
    slug += c;
  }
  return slug.empty() ? stem : stem + '-' + slug;
}

}  // namespace kelpa
