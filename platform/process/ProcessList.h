#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>

// The first process of the current user (in ascending id order, this process excluded) whose
// executable file name equals `exeName` without regard to ASCII case; -1 when none does.
pid_t FindUserProcess(const std::string& exeName);

// Asks the process to stop (SIGTERM) so that it can save and leave; kills it (SIGKILL) when
// it is still there after `grace`. True when it is gone or was killed.
bool EndProcess(pid_t pid, std::chrono::milliseconds grace = std::chrono::seconds(3));
