// SPDX-License-Identifier: MIT
// A text compared byte for byte with its golden file in tests/runner/golden;
// KELPA_UPDATE_GOLDEN=1 rewrites the file instead (check the difference before committing it).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace kelpa::test {

inline void CompareWithGolden(const std::string& name, const std::string& actual) {
  const std::string path = std::string(KELPA_GOLDEN_DIR) + "/" + name;
  if (std::getenv("KELPA_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "missing golden file " << path;
  const std::string expected{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(actual, expected) << name;
}

}  // namespace kelpa::test
