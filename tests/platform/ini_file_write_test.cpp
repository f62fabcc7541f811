// SPDX-License-Identifier: MIT
// Writing the settings file: only the keys written change, every other byte stays, and a save
// either replaces the whole file or leaves it untouched.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

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
// line takes the file's Windows-1252, and every value written reads back as written.
TEST(IniFileWrite, MixedEncodingsKeepEachLineAndReadBack) {
  struct Case {
    const char* Key;
    std::string Value;
    std::string Line;  // the key's line as saved
  };
  const std::string mixed = "[S]\r\nlatin=\xE9\r\nutf8=\xC3\xA9\r\nascii=x\r\n";
  const Case cases[] = {
      {"latin", "A\xC3\xA7\xC3\xA3o", "latin=A\xE7\xE3o"},
      {"utf8", "A\xC3\xA7\xC3\xA3o", "utf8=A\xC3\xA7\xC3\xA3o"},
      {"ascii", "\xC3\xA9", "ascii=\xE9"},
      {"new", "\xC3\xA9", "new=\xE9"},
      // In Windows-1252 these would be the bytes of a UTF-8 "\xC3\xA9" and read back as it.
      {"new", "\xC3\x83\xC2\xA9", "new=\xC3\x83\xC2\xA9"},
  };
  TempWorkingDirectory dir;
  const std::string path = dir.File("kelpa.ini");
  for (const Case& c : cases) {
    WriteBytes(path, mixed);
    TIniFile ini(path);
    ini.WriteString("S", c.Key, c.Value);
    ASSERT_TRUE(ini.UpdateFile());
    const std::string saved = ReadBytes(path);
    EXPECT_NE(saved.find("\n" + c.Line + "\r\n"), std::string::npos) << c.Key << ": " << saved;
    std::map<std::string, std::string> expected = {
        {"latin", "\xC3\xA9"}, {"utf8", "\xC3\xA9"}, {"ascii", "x"}};
    expected[c.Key] = c.Value;
    const TIniFile reread(path);
    for (const auto& [key, value] : expected) {
      EXPECT_EQ(reread.ReadString("S", key, ""), value) << c.Key << ": " << key;
    }
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

// A file its owner made read-only is not replaced, though the rename would succeed (the folder is
// writable, and the tests may run as the superuser); a writable file keeps its permissions.
TEST(IniFileWrite, AReadOnlyFileIsLeftAsItIs) {
  struct Case {
    fs::perms Mode;
    bool Saved;
  };
  using enum fs::perms;
  const Case cases[] = {{owner_read | group_read | others_read, false},
                        {owner_read | group_write | others_write, false},
                        {owner_read | owner_write, true}};
  for (const Case& c : cases) {
    TempWorkingDirectory dir;
    const std::string path = dir.File("kelpa.ini");
    WriteBytes(path, "[GLOBAL]\r\nPREEMPCAO=1\r\n");
    fs::permissions(path, c.Mode);
    TIniFile ini(path);
    ini.WriteBool("GLOBAL", "PREEMPCAO", false);
    EXPECT_EQ(ini.UpdateFile(), c.Saved);
    EXPECT_EQ(ReadBytes(path),
              c.Saved ? "[GLOBAL]\r\nPREEMPCAO=0\r\n" : "[GLOBAL]\r\nPREEMPCAO=1\r\n");
    EXPECT_EQ(fs::status(path).permissions(), c.Mode);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
  }
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
