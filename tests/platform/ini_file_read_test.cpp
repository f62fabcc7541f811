// SPDX-License-Identifier: MIT
// Reading the settings file: the awkward inputs a hand-edited or translated file contains.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/ini_file.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

using test::TempWorkingDirectory;
using test::WriteBytes;

struct ReadCase {
  const char* Name;
  std::string Content;
  std::string Section;
  std::string Key;
  std::string Expected;  // "<def>" when the default must come back
};

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, ReadsValueAsTheProfileFunctionsDo) {
  TempWorkingDirectory dir;
  const ReadCase& c = GetParam();
  WriteBytes(dir.File("kelpa.ini"), c.Content);
  const TIniFile ini(dir.File("kelpa.ini"));
  EXPECT_EQ(ini.ReadString(c.Section, c.Key, "<def>"), c.Expected);
}

const std::string k2047(2047, 'a');

INSTANTIATE_TEST_SUITE_P(
    TrickyInputs, IniReadTest,
    ::testing::Values(
        ReadCase{"CaseOfSection", "[global]\r\nPREEMPCAO=0\r\n", "GLOBAL", "PREEMPCAO", "0"},
        ReadCase{"CaseOfKey", "[GLOBAL]\r\nPreempCao=0\r\n", "global", "PREEMPCAO", "0"},
        ReadCase{"BlanksTrimmed", "[S]\r\n  k \t=  a  b \t \r\n", "S", "k", "a  b"},
        ReadCase{"DoubleQuotesKeepBlanks", "[S]\r\nk=  \" Pronto -> Exec \"  \r\n", "S", "k",
                 " Pronto -> Exec "},
        ReadCase{"SingleQuotes", "[S]\r\nk=' x '\r\n", "S", "k", " x "},
        ReadCase{"LoneQuote", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        ReadCase{"UnmatchedQuote", "[S]\r\nk=\"abc\r\n", "S", "k", "\"abc"},
        ReadCase{"QuotesInside", "[S]\r\nk=a \"b\"\r\n", "S", "k", "a \"b\""},
        ReadCase{"OnlyOnePairRemoved", "[S]\r\nk=\"\"x\"\"\r\n", "S", "k", "\"x\""},
        ReadCase{"Exactly2047", "[S]\r\nk=" + k2047 + "\r\n", "S", "k", k2047},
        ReadCase{"Cut2048", "[S]\r\nk=" + k2047 + "b\r\n", "S", "k", k2047},
        ReadCase{"Cut5000", "[S]\r\nk=" + std::string(5000, 'a') + "\r\n", "S", "k", k2047},
        ReadCase{"QuotesRemovedBeforeCut", "[S]\r\nk=\"" + k2047 + "bb\"\r\n", "S", "k", k2047},
        ReadCase{"CutCountsCharactersNotBytes",
                 "[S]\r\nk=" + std::string(2046, 'a') + "\xC3\xA7\xC3\xA7\r\n", "S", "k",
                 std::string(2046, 'a') + "\xC3\xA7"},
        ReadCase{"EmptyValue", "[S]\r\nk=\r\n", "S", "k", ""},
        ReadCase{"FirstDuplicateKeyWins", "[S]\r\nk=first\r\nK=second\r\n", "S", "k", "first"},
        ReadCase{"FirstDuplicateSectionWins", "[S]\r\na=1\r\n[T]\r\n[s]\r\na=2\r\nb=3\r\n", "S",
                 "a", "1"},
        ReadCase{"LaterDuplicateSectionIgnored", "[S]\r\na=1\r\n[s]\r\nb=3\r\n", "S", "b", "<def>"},
        ReadCase{"MissingSection", "[T]\r\nk=v\r\n", "S", "k", "<def>"},
        ReadCase{"MissingKey", "[S]\r\nother=v\r\n", "S", "k", "<def>"},
        ReadCase{"KeyBeforeAnySection", "k=v\r\n[S]\r\n", "S", "k", "<def>"},
        ReadCase{"KeyOfNextSection", "[S]\r\n[T]\r\nk=v\r\n", "S", "k", "<def>"},
        ReadCase{"LineWithoutEqualsIsNoKey", "[S]\r\nk\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"NoInlineComments", "[S]\r\n; comment\r\nk=v ;x\r\n", "S", "k", "v ;x"},
        ReadCase{"SectionNameEndsAtLastBracket", "[a]b] trailing\r\nk=v\r\n", "a]b", "k", "v"},
        ReadCase{"EmptySectionName", "[ ]\r\nk=v\r\n", "", "k", "v"},
        ReadCase{"SectionNameTrimmed", "  [ S ]  \r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"BracketWithoutCloseIsNoSection", "[S]\r\n[T\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"LfOnly", "[S]\na=1\nk=v\n", "S", "k", "v"},
        ReadCase{"CrOnly", "[S]\ra=1\rk=v\r", "S", "k", "v"},
        ReadCase{"MixedLineEnds", "[S]\r\na=1\nb=2\rk=v", "S", "k", "v"},
        ReadCase{"Utf8ByteOrderMark", "\xEF\xBB\xBF[MSG]\r\nk=Ger\xC3\xAAncia\r\n", "MSG", "k",
                 "Ger\xC3\xAAncia"},
        ReadCase{"Windows1252Accents", "[MSG]\r\nk=Execu\xE7\xE3o \x80\r\n", "MSG", "k",
                 "Execu\xC3\xA7\xC3\xA3o \xE2\x82\xAC"},
        ReadCase{"Windows1252SectionName",
                 "[Op\xE7\xF5"
                 "es]\r\nk=v\r\n",
                 "Op\xC3\xA7\xC3\xB5"
                 "es",
                 "k", "v"}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return info.param.Name; });

struct IntegerCase {
  const char* Name;
  std::string Value;
  int Expected;  // with default 42
};

class IniIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerTest, ReadsDecimalOrHexElseDefault) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), "[S]\r\nk=" + GetParam().Value + "\r\n");
  EXPECT_EQ(TIniFile(dir.File("kelpa.ini")).ReadInteger("S", "k", 42), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntegerTest,
    ::testing::Values(IntegerCase{"Decimal", "16", 16}, IntegerCase{"Negative", "-3", -3},
                      IntegerCase{"Hex", "0x1F", 31}, IntegerCase{"HexUpper", "0XfF", 255},
                      IntegerCase{"Blanks", "  7 ", 7}, IntegerCase{"Quoted", "\"9\"", 9},
                      IntegerCase{"Yes", "yes", 42}, IntegerCase{"TrailingText", "12abc", 42},
                      IntegerCase{"Empty", "", 42}, IntegerCase{"HexPrefixOnly", "0x", 42},
                      IntegerCase{"Largest", "2147483647", 2147483647},
                      IntegerCase{"Overflow", "2147483648", 42},
                      IntegerCase{"HugeOverflow", "99999999999999999999999", 42}),
    [](const ::testing::TestParamInfo<IntegerCase>& info) { return info.param.Name; });

TEST(IniFileRead, BooleansAreIntegersAnyNonZeroTrue) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), "[S]\r\none=1\r\nzero=0\r\ntwo=2\r\nminus=-1\r\nyes=yes\r\n");
  const TIniFile ini(dir.File("kelpa.ini"));
  EXPECT_TRUE(ini.ReadBool("S", "one", false));
  EXPECT_FALSE(ini.ReadBool("S", "zero", true));
  EXPECT_TRUE(ini.ReadBool("S", "two", false));
  EXPECT_TRUE(ini.ReadBool("S", "minus", false));
  EXPECT_TRUE(ini.ReadBool("S", "yes", true));
  EXPECT_FALSE(ini.ReadBool("S", "yes", false));
  EXPECT_FALSE(ini.ReadBool("S", "absent", false));
}

TEST(IniFileRead, MissingOrUnreadableFileReadsAsEmpty) {
  TempWorkingDirectory dir;
  EXPECT_EQ(TIniFile(dir.File("absent.ini")).ReadString("S", "k", "d"), "d");
  std::filesystem::create_directory(dir.File("kelpa.ini"));
  const TIniFile directory(dir.File("kelpa.ini"));
  EXPECT_FALSE(directory.HasKey("S", "k"));
  EXPECT_EQ(directory.ReadInteger("S", "k", 5), 5);
}

// Each line is decoded on its own: a line a UTF-8 editor added to a Windows-1252 file reads as
// UTF-8, the file's own lines as Windows-1252, whatever their order, line ends or key names.
TEST(IniFileRead, EachLineIsDecodedOnItsOwn) {
  const std::string cao = "\xC3\xA7\xC3\xA3o";  // UTF-8
  const std::string latinCao = "\xE7\xE3o";     // Windows-1252
  const std::string cases[] = {
      "[S]\r\na=" + latinCao + "\r\n\xC3\xA7=" + cao + "\r\n",
      "\xEF\xBB\xBF[S]\n\xC3\xA7=" + cao + "\na=" + latinCao + "\n",
      "[S]\ra=" + cao + "\r\xE7=" + latinCao,
      "[S\xE7]\r\n[S]\r\na=" + cao + "\r\n\xE7=" + latinCao + "\r\n",
  };
  TempWorkingDirectory dir;
  for (const std::string& content : cases) {
    WriteBytes(dir.File("kelpa.ini"), content);
    const TIniFile ini(dir.File("kelpa.ini"));
    EXPECT_TRUE(ini.IsWindows1252());
    EXPECT_EQ(ini.ReadString("S", "a", "") + " " + ini.ReadString("S", "\xC3\xA7", ""),
              cao + " " + cao)
        << content;
  }
  WriteBytes(dir.File("kelpa.ini"), "[S]\r\na=" + cao + "\r\n");
  EXPECT_FALSE(TIniFile(dir.File("kelpa.ini")).IsWindows1252());
}

// Readers of an unchanged file share one reading of it (the PCB window translates itself every
// second); a change of the file, or a file too recent to tell a change by its time stamp, is read
// again.
// Writes a file last changed an hour ago, as a file that was not just edited is.
void WriteSettled(const std::string& path, const std::string& content) {
  namespace fs = std::filesystem;
  WriteBytes(path, content);
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1));
}

TEST(IniFileRead, AnUnchangedFileIsReadOnce) {
  TempWorkingDirectory dir;
  const std::string path = dir.File("kelpa.ini");
  WriteSettled(path, "[PCB]\r\nLabel1=Estado\r\n");
  const std::size_t before = IniDiskReads();
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(TIniFile(path).ReadString("PCB", "Label1", ""), "Estado");
  }
  EXPECT_EQ(IniDiskReads(), before + 1);

  WriteSettled(path, "[PCB]\r\nLabel1=Estado do processo\r\n");
  EXPECT_EQ(TIniFile(path).ReadString("PCB", "Label1", ""), "Estado do processo");
  EXPECT_EQ(IniDiskReads(), before + 2);

  // Same size, written just now: its time stamp may not have moved, so every reader reads it.
  WriteBytes(path, "[PCB]\r\nLabel1=Estado do process0\r\n");
  EXPECT_EQ(TIniFile(path).ReadString("PCB", "Label1", ""), "Estado do process0");
  WriteBytes(path, "[PCB]\r\nLabel1=Estado do process1\r\n");
  EXPECT_EQ(TIniFile(path).ReadString("PCB", "Label1", ""), "Estado do process1");
  EXPECT_EQ(IniDiskReads(), before + 4);
}

// Past the bound nothing is read, however often it is looked up; a writer's copy never changes
// what other readers see.
TEST(IniFileRead, AFileAboveTheBoundIsNotRead) {
  TempWorkingDirectory dir;
  const std::string path = dir.File("kelpa.ini");
  WriteBytes(path, "[S]\r\nk=v\r\n" + std::string(kMaxIniFileSize, '\n'));
  const std::size_t before = IniDiskReads();
  for (int i = 0; i < 3; ++i) {
    const TIniFile ini(path);
    EXPECT_EQ(ini.Problem(), TIniProblem::TooLarge);
    EXPECT_EQ(ini.ReadString("S", "k", "<def>"), "<def>");
  }
  EXPECT_EQ(IniDiskReads(), before);

  WriteSettled(path, "[S]\r\nk=v\r\n");
  TIniFile writer(path);
  const TIniFile reader(path);
  writer.WriteString("S", "k", "w");
  EXPECT_EQ(writer.ReadString("S", "k", ""), "w");
  EXPECT_EQ(reader.ReadString("S", "k", ""), "v");
  EXPECT_EQ(reader.Problem(), TIniProblem::None);
}

}  // namespace
}  // namespace kelpa
