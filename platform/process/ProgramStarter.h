#pragma once

#include <string>
#include <vector>

// Starts `program` with `args` in `workingFolder` without waiting for it; the program is not
// a child of this process and outlives it. True only when the program image was started:
// a missing, non-executable or malformed file gives false.
bool StartDetached(const std::string& program, const std::vector<std::string>& args,
                   const std::string& workingFolder);

// Adds execute permission for the owner (downloaded programs arrive without it).
bool MakeExecutable(const std::string& path);
