#pragma once
#include <QString>

// What only the operating system knows, one small function each.
namespace platform {

// The name of this workstation on the network.
QString hostName();
// The name of the user running the program.
QString userName();

} // namespace platform
