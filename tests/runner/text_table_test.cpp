// SPDX-License-Identifier: MIT
// The runner's text table: columns aligned by characters, not bytes.
#include <gtest/gtest.h>

#include <sstream>

#include "exports/output_buffer.h"
#include "runner/text_table.h"

namespace kelpa {
namespace {

TEST(TextTable, AlignsByCharactersNotBytes) {
  std::ostringstream text;
  {
    OutputBuffer out(text);
    WriteTextTable(out, {{"Início", "1"}, {"Fim", "100"}, {"", ""}});
  }
  EXPECT_EQ(text.str(), "Início    1\nFim     100\n\n");
}

}  // namespace
}  // namespace kelpa
