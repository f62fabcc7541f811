// SPDX-License-Identifier: MIT
// Writing the settings file: only the keys written change, every other byte stays, and a save
// either replaces the whole file or leaves it untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "platform/ini_file.h"
#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempWorkingDirectory;
using test::WriteBytes;

// A translated file of the kind that ships with the program: Windows-1252, comments, blank
// lines, mixed line ends, GLOBAL between other sections, no line end after the last line.
std::string TranslatedFile() {
  std::string text =
      "; Kelpa - tradu\xE7\xE3o\r\n"
      "\r\n"
      "[MSGLOG]\r\n"
      "MSGLOG0001=Inicializando Kelpa ...\r\n"
      "MSGLOG0602=\" Pronto -> Exec \"\n"
      "\r\n"
      "[Global]\r\n"
      "PREEMPCAO = 1 \r\n"
      "prioridade_dinamica=1\r\n"
      "TEMPO_REAL=8\r\n"
      "\r\n"
      "[MSG]\r\n";
  for (int i = 0; i < 400; ++i) {
    text += "MSG" + std::to_string(1000 + i) + "=Ger\xEAncia de Mem\xF3ria " + std::to_string(i) +
            (i % 3 == 0 ? "\n" : "\r\n");
  }
  text += "[GP]\r\nLabel1=Fila\r\nLabel1_HINT=Dica";
  return text;
}

TEST(IniFileWrite, NewFileHoldsExactlyTheWrittenSection) {
  TempWorkingDirectory dir;
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteBool("GLOBAL", "PREEMPCAO", true);
  ini.WriteBool("GLOBAL", "PRIORIDADE_DINAMICA", true);
  ini.WriteInteger("GLOBAL", "TEMPO_REAL", 8);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")),
            "[GLOBAL]\r\nPREEMPCAO=1\r\nPRIORIDADE_DINAMICA=1\r\nTEMPO_REAL=8\r\n");
}

TEST(IniFileWrite, RewritingOneKeyKeepsEveryOtherByte) {
  TempWorkingDirectory dir;
  const std::string original = TranslatedFile();
  WriteBytes(dir.File("kelpa.ini"), original);

  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteBool("GLOBAL", "PREEMPCAO", false);
  ASSERT_TRUE(ini.UpdateFile());

  std::string expected = original;
  expected.replace(expected.find("PREEMPCAO = 1 "), 14, "PREEMPCAO = 0 ");
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), expected);

  // Writing the value already there changes nothing at all.
  TIniFile again(dir.File("kelpa.ini"));
  again.WriteInteger("global", "tempo_real", 8);
  ASSERT_TRUE(again.UpdateFile());
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")), expected);
}

TEST(IniFileWrite, NewKeyGoesAfterTheLastKeyOfItsSection) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), "[GLOBAL]\nPREEMPCAO=0\n\n; next\n[MSG]\nMSG0002=Run\n");
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteInteger("GLOBAL", "TEMPO_REAL", 3);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_EQ(ReadBytes(dir.File("kelpa.ini")),
            "[GLOBAL]\nPREEMPCAO=0\nTEMPO_REAL=3\r\n\n; next\n[MSG]\nMSG0002=Run\n");
}

TEST(IniFileWrite, NewKeyInAnEmptySectionFollowsItsHeader) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), "[GLOBAL]\r\n[MSG]\r\n");
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteBool("GLOBAL", "PREEMPCAO", true);
  EXPECT_EQ(ini.Bytes(), "[GLOBAL]\r\nPREEMPCAO=1\r\n[MSG]\r\n");
}

TEST(IniFileWrite, NewSectionGoesAtTheEndEvenWithoutAFinalLineEnd) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), "[MSG]\r\nMSG0002=Run");
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteBool("GLOBAL", "PREEMPCAO", false);
  ini.WriteInteger("GLOBAL", "TEMPO_REAL", 16);
  EXPECT_EQ(ini.Bytes(), "[MSG]\r\nMSG0002=Run\r\n[GLOBAL]\r\nPREEMPCAO=0\r\nTEMPO_REAL=16\r\n");
  EXPECT_EQ(ini.ReadInteger("GLOBAL", "TEMPO_REAL", 0), 16);
}

TEST(IniFileWrite, KeyOnTheLastLineWithoutLineEnd) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), "[GLOBAL]\r\nTEMPO_REAL=8");
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteInteger("GLOBAL", "TEMPO_REAL", 12);
  ini.WriteBool("GLOBAL", "PREEMPCAO", true);
  EXPECT_EQ(ini.Bytes(), "[GLOBAL]\r\nTEMPO_REAL=12\r\nPREEMPCAO=1\r\n");
}

TEST(IniFileWrite, EmptyAndQuotedValuesAreReplacedWhole) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("kelpa.ini"), "[S]\r\na=\r\nb=  \"1\"  \r\n");
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteInteger("S", "a", 5);
  ini.WriteInteger("S", "b", 6);
  EXPECT_EQ(ini.Bytes(), "[S]\r\na=5\r\nb=  6  \r\n");
}

TEST(IniFileWrite, KeepsTheEncodingOfTheFile) {
  TempWorkingDirectory dir;
  WriteBytes(dir.File("latin.ini"), "[MSG]\r\nA=Execu\xE7\xE3o\r\n");
  TIniFile latin(dir.File("latin.ini"));
  ASSERT_TRUE(latin.IsWindows1252());
  latin.WriteString("MSG", "B",
                    "Op\xC3\xA7\xC3\xB5"
                    "es \xE2\x82\xAC \xE4\xB8\xAD");
  EXPECT_EQ(latin.Bytes(),
            "[MSG]\r\nA=Execu\xE7\xE3o\r\nB=Op\xE7\xF5"
            "es \x80 ?\r\n");

  WriteBytes(dir.File("bom.ini"), "\xEF\xBB\xBF[MSG]\r\nA=Execu\xC3\xA7\xC3\xA3o\r\n");
  TIniFile bom(dir.File("bom.ini"));
  ASSERT_FALSE(bom.IsWindows1252());
  bom.WriteString("MSG", "B",
                  "Op\xC3\xA7\xC3\xB5"
                  "es");
  ASSERT_TRUE(bom.UpdateFile());
  EXPECT_EQ(ReadBytes(dir.File("bom.ini")),
            "\xEF\xBB\xBF[MSG]\r\nA=Execu\xC3\xA7\xC3\xA3o\r\nB=Op\xC3\xA7\xC3\xB5"
            "es\r\n");
}

// In a file mixing Windows-1252 lines with UTF-8 ones, a changed line keeps its encoding, a new
// line takes the file's Windows-1252 unless those bytes would read as UTF-8, and every value
// written reads back as written.
TEST(IniFileWrite, MixedEncodingsKeepEachLineAndReadBack) {
  const std::string cao = "\xC3\xA7\xC3\xA3o";
  // In Windows-1252 the last value would be the bytes of a UTF-8 "\xC3\xA9".
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"latin", cao, "latin=\xE7\xE3o"},
      {"utf8", cao, "utf8=" + cao},
      {"ascii", cao, "ascii=\xE7\xE3o"},
      {"new", cao, "new=\xE7\xE3o"},
      {"new", "\xC3\x83\xC2\xA9", "new=\xC3\x83\xC2\xA9"}};
  TempWorkingDirectory dir;
  const std::string path = dir.File("kelpa.ini");
  for (const auto& [key, value, line] : cases) {
    WriteBytes(path, "[S]\r\nlatin=\xE9\r\nutf8=\xC3\xA9\r\nascii=x\r\n");
    TIniFile ini(path);
    ini.WriteString("S", key, value);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_NE(ReadBytes(path).find("\n" + line + "\r\n"), std::string::npos) << ReadBytes(path);
    const TIniFile reread(path);
    EXPECT_EQ(reread.ReadString("S", key, ""), value);
    EXPECT_EQ(reread.ReadString("S", key == "latin" ? "utf8" : "latin", ""), "\xC3\xA9");
  }
}

TEST(IniFileWrite, LineBreaksInAValueCannotAddLines) {
  TempWorkingDirectory dir;
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteString("S", "k", "a\r\n[GLOBAL]\nPREEMPCAO=0");
  EXPECT_EQ(ini.Bytes(), "[S]\r\nk=a  [GLOBAL] PREEMPCAO=0\r\n");
  EXPECT_FALSE(ini.HasKey("GLOBAL", "PREEMPCAO"));
}

TEST(IniFileWrite, FailedSaveLeavesTheTargetAndNoTemporaryFile) {
  TempWorkingDirectory dir;
  // A directory where the file must go makes the final rename fail even for root.
  fs::create_directory(dir.File("kelpa.ini"));
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteBool("GLOBAL", "PREEMPCAO", true);
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_TRUE(fs::is_directory(dir.File("kelpa.ini")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(IniFileWrite, FailedSaveInAMissingFolder) {
  TempWorkingDirectory dir;
  TIniFile ini(dir.File("gone/kelpa.ini"));
  ini.WriteBool("GLOBAL", "PREEMPCAO", true);
  EXPECT_FALSE(ini.UpdateFile());
  EXPECT_FALSE(fs::exists(dir.File("gone")));
}

TEST(IniFileWrite, SavesThroughASymbolicLink) {
  TempWorkingDirectory dir;
  fs::create_directory(dir.File("real"));
  WriteBytes(dir.File("real/kelpa.ini"), "[S]\r\nk=1\r\n");
  fs::create_symlink(dir.File("real/kelpa.ini"), dir.File("kelpa.ini"));
  TIniFile ini(dir.File("kelpa.ini"));
  ini.WriteInteger("S", "k", 2);
  ASSERT_TRUE(ini.UpdateFile());
  EXPECT_TRUE(fs::is_symlink(dir.File("kelpa.ini")));
  EXPECT_EQ(ReadBytes(dir.File("real/kelpa.ini")), "[S]\r\nk=2\r\n");
}

}  // namespace
}  // namespace kelpa
