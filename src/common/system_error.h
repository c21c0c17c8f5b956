#pragma once

#include <string>

namespace tradumar {

// Our own Spanish description of a system error number (errno), in
// Windows-1252, for the messages that show the failure of a file operation.
// A number without a description of its own gets a general one.
std::string systemErrorText(int error);

} // namespace tradumar
