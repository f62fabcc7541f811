// SPDX-License-Identifier: MIT
#include "exports/program_version.h"

namespace kelpa {

std::string_view ProgramVersion() {
  // The build passes the project's version.
  return KELPA_VERSION;
}

}  // namespace kelpa
