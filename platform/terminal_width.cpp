// SPDX-License-Identifier: MIT
#include "platform/terminal_width.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

#include <sys/ioctl.h>
#include <unistd.h>

namespace kelpa {

int StdoutTerminalWidth(int otherwise) {
  if (isatty(STDOUT_FILENO) == 0) {
    return otherwise;
  }
  if (const char* columns = std::getenv("COLUMNS")) {
    const std::string_view text(columns);
    int value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc() && result.ptr == text.data() + text.size() && value > 0) {
      return value;
    }
  }
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    return size.ws_col;
  }
  return otherwise;
}

}  // namespace kelpa
