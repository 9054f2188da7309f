#pragma once

#include "client/api/ApiContext.h"

#include <ctime>
#include <string>

// What the usage log says about the machine. The Qt layer fills in the browser version and
// the screen size; ProbeMachine fills in the rest.
struct MachineDescription
{
    std::string networkAddress;
    std::string osName;
    std::string processor;
    std::string memory;
    std::string browserVersion;
    std::string screen; // "width:height"
};

MachineDescription ProbeMachine(const std::string& browserVersion, const std::string& screen);

// The record of table 1 without the user: the machine's fields and the installed version,
// joined by "||".
std::string UsageTable1(const MachineDescription& machine, const std::string& version);
// The record of table 2: network address, start time and exit time.
std::string UsageTable2(const std::string& networkAddress, const std::tm& start,
                        const std::tm& exit);
// A time as the usage log writes it: year-month-day-hour-minute-second without padding.
std::string UsageTime(const std::tm& time);

// Sends both records to the page server, the first with the logged-in user appended when
// there is one. Silent; each request is bounded so the exit never waits long for an
// unreachable server, and the second is not sent when the first failed.
void SendUsageLog(std::string table1, const std::string& table2,
                  const ApiContext& ctx = DefaultApiContext());
