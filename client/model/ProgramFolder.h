#pragma once

#include <string>

// The folder of the running executable, without a trailing "/"; "." when it cannot be told.
std::string ExecutableFolder();

// The same folder, which each call also makes the current directory, so relative skin paths
// resolve against it.
std::string ProgramFolder();

// Full paths of the settings files below the program folder.
std::string SetIniPath();
std::string WarnSetIniPath();
std::string SelfStockIniPath();
