// SPDX-License-Identifier: MIT
// The output formats' writing of fields, numbers and times.
#include <gtest/gtest.h>

#include <sstream>

#include "exports/output_buffer.h"

namespace kelpa {
namespace {

TEST(OutputBuffer, FieldsNumbersAndTimes) {
  std::ostringstream text;
  {
    OutputBuffer out(text);
    out.CsvField("plain") << '|';
    out.CsvField("a,b") << '|';
    out.CsvField("say \"hi\"") << '|';
    out.CsvField("two\nlines") << '|';
    out.JsonString("q\"b\\c\x01") << '|';
    out.Fixed(2.0 / 3, 5) << '|';
    out.Fixed(-0.001, 2) << '|';
    out.Fixed(1234567.5, 0) << '|';  // an exact half goes to the even digit, up or down
    out.Fixed(0.125, 2) << '|';
    out.Int(-42) << '|';
    out.VirtualTime(0) << '|';
    out.VirtualTime(90061001) << '|';  // over a day: hours keep counting
    out.VirtualTime(3723004, false);
  }
  EXPECT_EQ(text.str(),
            "plain|\"a,b\"|\"say \"\"hi\"\"\"|\"two\nlines\"|\"q\\\"b\\\\c\\u0001\"|0.66667|0.00|"
            "1234568|0.12|-42|00:00:00:000|25:01:01:001|01:02:03");
}

}  // namespace
}  // namespace kelpa
