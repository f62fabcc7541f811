// SPDX-License-Identifier: MIT
#include "platform/ini_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <ctime>
#include <mutex>

#include "platform/text_encoding.h"

namespace kelpa {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// A file changed this recently may change again within the resolution of its time stamps without
// its stamp showing it, so its reading is not kept for later readers until it has settled.
constexpr std::time_t kSettleSeconds = 5;
// Readings kept: the program reads one file; tests and fuzzers read many in turn.
constexpr std::size_t kCachedFiles = 4;

std::atomic<std::size_t> diskReads{0};

// What identifies one version of a file.
struct FileStamp {
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  timespec Modified{};
  timespec Changed{};

  explicit FileStamp(const struct stat& status)
      : Device(status.st_dev),
        Inode(status.st_ino),
        Size(status.st_size),
        Modified(status.st_mtim),
        Changed(status.st_ctim) {}

  bool operator==(const FileStamp& other) const {
    return Device == other.Device && Inode == other.Inode && Size == other.Size &&
           Modified.tv_sec == other.Modified.tv_sec && Modified.tv_nsec == other.Modified.tv_nsec &&
           Changed.tv_sec == other.Changed.tv_sec && Changed.tv_nsec == other.Changed.tv_nsec;
  }

  bool Settled() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - Modified.tv_sec > kSettleSeconds;
  }
};

class TextCache {
 public:
  std::shared_ptr<const TIniText> Find(const std::string& path, const FileStamp& stamp) {
    std::lock_guard lock(mutex_);
    for (const Entry& entry : entries_) {
      if (entry.Path == path && entry.Stamp == stamp) {
        return entry.Text;
      }
    }
    return nullptr;
  }

  void Keep(const std::string& path, const FileStamp& stamp, std::shared_ptr<const TIniText> text) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& entry) { return entry.Path == path; });
    if (entries_.size() == kCachedFiles) {
      entries_.erase(entries_.begin());
    }
    entries_.push_back({path, stamp, std::move(text)});
  }

 private:
  struct Entry {
    std::string Path;
    FileStamp Stamp;
    std::shared_ptr<const TIniText> Text;
  };
  std::mutex mutex_;
  std::vector<Entry> entries_;
};

TextCache& Cache() {
  static TextCache cache;
  return cache;
}

std::shared_ptr<const TIniText> EmptyText() {
  static const auto empty = std::make_shared<const TIniText>();
  return empty;
}

// Opens path, not blocking, and checks once open that it is a regular file, in case something
// else took the name meanwhile; -1 when it cannot be opened or is anything else.
int OpenRegularFile(const std::string& path, struct stat& status) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0 && (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Reads at most limit + 1 bytes of an open file; false on a read error.
bool ReadAtMost(int fd, std::uintmax_t limit, std::string& bytes) {
  char buffer[65536];
  while (bytes.size() <= limit) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      return false;
    }
    if (count == 0) {
      break;
    }
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  return true;
}

// The text of the file open as fd, whose status is status.
std::shared_ptr<TIniText> ReadText(int fd, const struct stat& status) {
  auto text = std::make_shared<TIniText>();
  if (static_cast<std::uintmax_t>(status.st_size) > kMaxIniFileSize) {
    text->Problem = TIniProblem::TooLarge;
    return text;
  }
  ++diskReads;
  std::string bytes;
  if (!ReadAtMost(fd, kMaxIniFileSize, bytes)) {
    return text;
  }
  const std::string_view view(bytes);
  if (bytes.size() > kMaxIniFileSize) {
    text->Problem = TIniProblem::TooLarge;  // it grew after its size was taken
  } else if (view.starts_with(kUtf16LeBom) || view.starts_with(kUtf16BeBom)) {
    text->Problem = TIniProblem::Utf16;
  } else {
    text->Bytes = std::move(bytes);
    text->TextBegin = view.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    text->Index();
  }
  return text;
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(kIniBlanks);
  if (first == std::string_view::npos) {
    return s.substr(0, 0);  // still pointing into s: the indexer takes offsets from it
  }
  const auto last = s.find_last_not_of(kIniBlanks);
  return s.substr(first, last - first + 1);
}

std::string FoldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return folded;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

std::optional<std::string_view> SectionName(std::string_view line) {
  const auto open = line.find_first_not_of(kIniBlanks);
  if (open == std::string_view::npos || line[open] != '[') {
    return std::nullopt;
  }
  const auto close = line.rfind(']');
  if (close == std::string_view::npos || close < open) {
    return std::nullopt;
  }
  return TrimBlanks(line.substr(open + 1, close - open - 1));
}

TLineSpan LineAt(std::string_view bytes, std::size_t begin) {
  const auto end = bytes.find_first_of("\r\n", begin);
  if (end == std::string_view::npos) {
    return {begin, bytes.size(), bytes.size()};
  }
  const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
  return {begin, end, end + (crlf ? 2 : 1)};
}

void TIniText::Index() {
  Sections.clear();
  FirstSection.clear();
  Windows1252Lines.clear();
  const std::string_view bytes(Bytes);
  for (std::size_t pos = TextBegin; pos < bytes.size();) {
    const TLineSpan line = LineAt(bytes, pos);
    pos = line.Next;
    if (!IsValidUtf8(bytes.substr(line.Begin, line.End - line.Begin))) {
      Windows1252Lines.push_back(line.Begin);
    }
    // Brackets and blanks are the same bytes in UTF-8 and Windows-1252, so section lines are
    // found in the raw bytes; only their names are decoded.
    const auto raw = SectionName(bytes.substr(line.Begin, line.End - line.Begin));
    if (!raw) {
      continue;
    }
    if (!Sections.empty()) {
      Sections.back().End = line.Begin;
    }
    const auto nameBegin = static_cast<std::size_t>(raw->data() - bytes.data());
    FirstSection.try_emplace(FoldName(Decode(nameBegin, nameBegin + raw->size())), Sections.size());
    Sections.push_back({line.Begin, line.Next, bytes.size()});
  }
  Windows1252 = !Windows1252Lines.empty();
}

bool TIniText::IsWindows1252Line(std::size_t pos) const {
  if (Windows1252Lines.empty()) {
    return false;
  }
  const auto lineEnd = pos > TextBegin ? std::string_view(Bytes).find_last_of("\r\n", pos - 1)
                                       : std::string_view::npos;
  const std::size_t lineBegin =
      lineEnd == std::string_view::npos || lineEnd < TextBegin ? TextBegin : lineEnd + 1;
  return std::binary_search(Windows1252Lines.begin(), Windows1252Lines.end(), lineBegin);
}

std::string TIniText::Decode(std::size_t begin, std::size_t end) const {
  const std::string_view bytes = std::string_view(Bytes).substr(begin, end - begin);
  return IsWindows1252Line(begin) ? Windows1252ToUtf8(bytes) : std::string(bytes);
}

const TIniText::Section* TIniText::FindSection(const std::string& section) const {
  const auto found = FirstSection.find(FoldName(section));
  return found == FirstSection.end() ? nullptr : &Sections[found->second];
}

std::shared_ptr<const TIniText> ReadIniText(const std::string& path) {
  // Only a regular file is opened: a named pipe would block for ever and a device such as
  // /dev/zero would never end.
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return EmptyText();
  }
  if (auto kept = Cache().Find(path, FileStamp(status))) {
    return kept;
  }
  const int fd = OpenRegularFile(path, status);
  if (fd < 0) {
    return EmptyText();
  }
  std::shared_ptr<const TIniText> text = ReadText(fd, status);
  const FileStamp stamp(status);
  if (stamp.Settled()) {
    Cache().Keep(path, stamp, text);
  }
  ::close(fd);
  return text;
}

std::optional<std::string> ReadRegularFile(const std::string& path, std::uintmax_t limit) {
  struct stat status {};
  const int fd = OpenRegularFile(path, status);
  if (fd < 0) {
    return std::nullopt;
  }
  std::string bytes;
  const bool read = ReadAtMost(fd, limit, bytes);
  ::close(fd);
  return read ? std::optional(std::move(bytes)) : std::nullopt;
}

std::size_t IniDiskReads() {
  return diskReads.load();
}

}  // namespace kelpa
