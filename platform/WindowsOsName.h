#pragma once

#include <string>

// The name the usage log gives a Windows system, from its version numbers, platform,
// product type and processor architecture. Kept so the server's records of Windows and
// Linux clients read alike; "UnKnown" for an unknown major version, empty for an unknown
// minor version of a known one.
std::string WindowsOsName(int major, int minor, bool ntPlatform, bool workstation, bool x64,
                          bool r2);
