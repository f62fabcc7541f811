// SPDX-License-Identifier: MIT
#include "runner/text_table.h"

#include <algorithm>

namespace kelpa {

std::size_t Characters(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void WriteTextTable(OutputBuffer& out, const std::vector<TextRow>& rows) {
  std::vector<std::size_t> widths;
  for (const TextRow& row : rows) {
    widths.resize(std::max(widths.size(), row.size()));
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], Characters(row[c]));
    }
  }
  for (const TextRow& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string padding(widths[c] - Characters(row[c]), ' ');
      if (c == 0) {
        line += row[c] + padding;
      } else {
        line += "  " + padding + row[c];
      }
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
  }
}

}  // namespace kelpa
