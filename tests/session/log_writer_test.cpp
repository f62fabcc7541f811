// SPDX-License-Identifier: MIT
// The log file: stamped whole lines, one order across threads, and never a stop on file errors.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>
#include <csignal>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "session/log_writer.h"
#include "support/recording_reporter.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::RecordingReporter;
using test::TempWorkingDirectory;
using test::WriteBytes;

std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  for (auto end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", begin)) {
    lines.push_back(bytes.substr(begin, end - begin));
    begin = end + 2;
  }
  EXPECT_EQ(begin, bytes.size()) << "the file does not end with a whole line";
  return lines;
}

TEST(LogWriter, NamesTheFileFromTheStartTimeAndStampsEachLine) {
  TempWorkingDirectory dir;
  ManualClock clock(EncodeDateTime({2026, 3, 4, 5, 6, 59, 999}));
  RecordingReporter reporter;
  TLogWriter log(clock, &reporter);
  EXPECT_EQ(log.FileName(), "log03040506.txt");

  clock.Set({2026, 3, 4, 9, 5, 3, 7});
  log.AddLine("Inicializando Kelpa ...", kBlack);
  clock.Set({2026, 3, 4, 23, 59, 59, 999});
  log.AddLine("Processo 1 criado", MakeColor(255, 0, 0));
  log.Flush();

  EXPECT_EQ(ReadBytes(dir.File("log03040506.txt")),
            "09:05:03:007 : Inicializando Kelpa ...\r\n23:59:59:999 : Processo 1 criado\r\n");
  const auto pending = log.TakePending();
  ASSERT_EQ(pending.size(), 2u);
  EXPECT_EQ(pending[0].first, "09:05:03:007 : Inicializando Kelpa ...");
  EXPECT_EQ(pending[0].second, kBlack);
  EXPECT_EQ(pending[1].second, MakeColor(255, 0, 0));
  EXPECT_TRUE(log.TakePending().empty());
  EXPECT_TRUE(reporter.Messages().empty());
}

// A restart within the same minute keeps the earlier run's logs and takes the first free name;
// a name held by anything but a file is reported, never opened (a pipe would block the start).
TEST(LogWriter, AStartInTheSameMinuteKeepsEveryEarlierLog) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"log12070900.txt"}, "log12070900-2.txt"},
      {{"log12070900.txt", "log12070900-3.txt"}, "log12070900-2.txt"},
      {{"log12070859.txt"}, "log12070900.txt"},
      {{}, ""}};  // a pipe in the log's place
  for (const auto& [earlier, expected] : cases) {
    TempWorkingDirectory dir;
    ManualClock clock(EncodeDateTime({2026, 12, 7, 9, 0, 0, 0}));
    for (const std::string& name : earlier) {
      WriteBytes(dir.File(name), "an earlier run\r\n");
    }
    if (expected.empty()) {
      ASSERT_EQ(::mkfifo(dir.File("log12070900.txt").c_str(), 0666), 0);
    }
    RecordingReporter reporter;
    {
      TLogWriter log(clock, &reporter);
      EXPECT_EQ(log.HasFile() ? log.FileName() : "", expected);
      EXPECT_EQ(reporter.Messages().size(), expected.empty() ? 1u : 0u);
      log.AddLine("second run", kBlack);
    }
    if (!expected.empty()) {
      EXPECT_EQ(ReadBytes(dir.File(expected)), "09:00:00:000 : second run\r\n");
    }
    for (const std::string& name : earlier) {
      EXPECT_EQ(ReadBytes(dir.File(name)), "an earlier run\r\n") << name;
    }
  }
}

// A copy still running holds its log: a second copy started in the same minute leaves it alone
// and logs to the next free name.
TEST(LogWriter, ACopyRunningInTheSameMinuteKeepsItsLog) {
  struct Case {
    std::vector<std::string> Held;
    std::string Expected;
  };
  for (const Case& c : {Case{{"log12070900.txt"}, "log12070900-2.txt"},
                        Case{{"log12070900.txt", "log12070900-2.txt"}, "log12070900-3.txt"}}) {
    TempWorkingDirectory dir;
    ManualClock clock(EncodeDateTime({2026, 12, 7, 9, 0, 0, 0}));
    std::vector<int> held;
    for (const std::string& name : c.Held) {
      WriteBytes(dir.File(name), "first copy's line\r\n");
      held.push_back(::open(dir.File(name).c_str(), O_WRONLY));
      ASSERT_EQ(::flock(held.back(), LOCK_EX), 0);
    }
    {
      TLogWriter log(clock, nullptr);
      EXPECT_EQ(log.FileName(), c.Expected);
      log.AddLine("second copy", kBlack);
    }
    EXPECT_EQ(ReadBytes(dir.File(c.Expected)), "09:00:00:000 : second copy\r\n");
    for (std::size_t i = 0; i < held.size(); ++i) {
      EXPECT_EQ(ReadBytes(dir.File(c.Held[i])), "first copy's line\r\n");
      ::close(held[i]);
    }
  }
}

// Sets the limit on the size of files this process writes, so that a write fails as on a full
// disk; lifted when the object goes.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // EFBIG instead of a killed process
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = SIG_DFL;
};

// After a failed write the log's own file is cut back to its last whole line, even when it was
// renamed and another file now has its name.
TEST(LogWriter, AFailedWriteCutsTheOpenFileNotTheName) {
  TempWorkingDirectory dir;
  ManualClock clock;
  TLogWriter log(clock, nullptr);
  log.AddLine("first", kBlack);
  log.Flush();
  fs::rename(dir.File(log.FileName()), dir.File("moved.txt"));
  const std::string other(200, 'x');
  WriteBytes(dir.File(log.FileName()), other);
  {
    FileSizeLimit limit(ReadBytes(dir.File("moved.txt")).size() + 10);
    log.AddLine("a line longer than the room left", kBlack);
    log.Flush();
  }
  log.AddLine("third", kBlack);
  log.Flush();
  EXPECT_EQ(ReadBytes(dir.File(log.FileName())), other);
  EXPECT_EQ(ReadBytes(dir.File("moved.txt")), "09:00:00:000 : first\r\n09:00:00:000 : third\r\n");
}

TEST(LogWriter, ThreadsLoggingAtOnceGiveWholeLinesInOneOrder) {
  TempWorkingDirectory dir;
  ManualClock clock;
  TLogWriter log(clock, nullptr);
  constexpr int kThreads = 3;
  constexpr int kLines = 2000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&log, t] {
      for (int i = 0; i < kLines; ++i) {
        log.AddLine("thread " + std::to_string(t) + " line " + std::to_string(i) + " " +
                        std::string(40, static_cast<char>('a' + t)),
                    static_cast<TColor>(t));
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  log.Flush();
  const auto fileLines = SplitCrLf(ReadBytes(dir.File(log.FileName())));
  const auto pending = log.TakePending();
  ASSERT_EQ(fileLines.size(), static_cast<std::size_t>(kThreads * kLines));
  ASSERT_EQ(pending.size(), fileLines.size());
  const std::regex whole(R"(09:00:00:000 : thread ([0-2]) line (\d+) ([a-c])\3{39})");
  std::vector<int> next(kThreads, 0);
  for (std::size_t i = 0; i < fileLines.size(); ++i) {
    ASSERT_EQ(pending[i].first, fileLines[i]) << "file and queue differ at line " << i;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(fileLines[i], match, whole)) << fileLines[i];
    const int t = std::stoi(match[1]);
    EXPECT_EQ(match[3].str()[0], 'a' + t);
    EXPECT_EQ(pending[i].second, static_cast<TColor>(t));
    ASSERT_EQ(std::stoi(match[2]), next[t]++) << "a thread's lines are out of order";
  }
}

// One writer thread writes every line: the lines of several threads reach the file in the order
// they were logged, a line is published only once the file has it, and destruction writes the rest.
TEST(LogWriter, TheWriterThreadKeepsOneOrderPublishesOnlyWrittenLinesAndLosesNothing) {
  TempWorkingDirectory dir;
  ManualClock clock;
  std::string fileName;
  std::vector<std::string> queued;
  {
    TLogWriter log(clock, nullptr);
    fileName = log.FileName();
    std::size_t unwrittenSeen = 0;
    log.SetPendingNotifier([&] {
      const std::string written = ReadBytes(dir.File(fileName));
      for (auto& [line, colour] : log.TakePending()) {
        unwrittenSeen += written.find(line + "\r\n") == std::string::npos ? 1 : 0;
        queued.push_back(line);
      }
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
      threads.emplace_back([&log, t] {
        for (int i = 0; i < 300; ++i) {
          log.AddLine("thread " + std::to_string(t) + " line " + std::to_string(i), kBlack);
        }
      });
    }
    for (auto& thread : threads) {
      thread.join();
    }
    log.Flush();
    EXPECT_EQ(queued.size(), 900u);
    EXPECT_EQ(unwrittenSeen, 0u) << "a line was published before the file had it";
    log.SetPendingNotifier(nullptr);
    for (int i = 0; i < 1000; ++i) {
      log.AddLine(std::string(30, 'z'), kBlack);
      queued.push_back("09:00:00:000 : " + std::string(30, 'z'));
    }
  }
  EXPECT_EQ(SplitCrLf(ReadBytes(dir.File(fileName))), queued);
}

TEST(LogWriter, NotifierRunsOutsideTheLockAndMayTakeTheLines) {
  TempWorkingDirectory dir;
  ManualClock clock;
  TLogWriter log(clock, nullptr);
  std::vector<std::string> seen;
  log.SetPendingNotifier([&] {
    for (auto& [line, colour] : log.TakePending()) {
      seen.push_back(line);
    }
  });
  log.AddLine("one", kBlack);
  log.AddLine("two", kBlack);
  log.Flush();
  log.SetPendingNotifier(nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"09:00:00:000 : one", "09:00:00:000 : two"}));
}

// The report comes before the catalogue is loaded: its words are those of the folder's kelpa.ini
// all the same, or the built-in ones.
TEST(LogWriter, AFileThatCannotBeCreatedIsReportedOnceAndLoggingGoesOn) {
  for (const bool english : {false, true}) {
    TempWorkingDirectory dir;
    if (english) {
      fs::copy_file(
          fs::path(__FILE__).parent_path() / ".." / ".." / "examples" / "en" / "kelpa.ini",
          dir.File("kelpa.ini"));
    }
    ManualClock clock;
    fs::create_directory(dir.File("log12070900.txt"));
    RecordingReporter reporter;
    TLogWriter log(clock, &reporter);
    EXPECT_FALSE(log.HasFile());
    for (int i = 0; i < 10; ++i) {
      log.AddLine("line " + std::to_string(i), kBlack);
    }
    log.Flush();
    ASSERT_EQ(reporter.Messages().size(), 1u);
    EXPECT_EQ(reporter.Messages()[0], (english ? "Unable to create " : "Não foi possível criar ") +
                                          (dir.Path() / "log12070900.txt").string());
    EXPECT_EQ(log.TakePending().size(), 10u);
  }
}

TEST(LogWriter, AQueueNobodyTakesStaysBoundedKeepingTheNewest) {
  TempWorkingDirectory dir;
  ManualClock clock;
  fs::create_directory(dir.File("log12070900.txt"));  // no file: only the queue is exercised
  TLogWriter log(clock, nullptr);
  const std::size_t total = TLogWriter::kMaxPending + 5;
  for (std::size_t i = 0; i < total; ++i) {
    log.AddLine(std::to_string(i), kBlack);
  }
  log.Flush();
  const auto pending = log.TakePending();
  ASSERT_EQ(pending.size(), TLogWriter::kMaxPending);
  EXPECT_EQ(pending.front().first, "09:00:00:000 : 5");
  EXPECT_EQ(pending.back().first, "09:00:00:000 : " + std::to_string(total - 1));
}

}  // namespace
}  // namespace kelpa
