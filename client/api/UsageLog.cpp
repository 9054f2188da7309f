#include "client/api/UsageLog.h"

#include "client/api/ApiCall.h"
#include "client/api/LoginState.h"
#include "client/model/LocalText.h"
#include "platform/SystemProbe.h"

#include <cstdio>

MachineDescription ProbeMachine(const std::string& browserVersion, const std::string& screen)
{
    MachineDescription m;
    m.networkAddress = SystemProbe::NetworkAddress();
    m.osName = SystemProbe::OsName();
    m.processor = SystemProbe::ProcessorName();
    m.memory = SystemProbe::Memory();
    m.browserVersion = browserVersion;
    m.screen = screen;
    return m;
}

std::string UsageTable1(const MachineDescription& machine, const std::string& version)
{
    return machine.networkAddress + "||" + machine.osName + "||" + machine.processor + "||" +
           machine.memory + "||" + machine.browserVersion + "||" + machine.screen + "||" + version;
}

std::string UsageTime(const std::tm& time)
{
    char buf[80];
    std::snprintf(buf, sizeof buf, "%d-%d-%d-%d-%d-%d", time.tm_year + 1900, time.tm_mon + 1,
                  time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
    return buf;
}

std::string UsageTable2(const std::string& networkAddress, const std::tm& start,
                        const std::tm& exit)
{
    return networkAddress + "||" + UsageTime(start) + "||" + UsageTime(exit);
}

void SendUsageLog(std::string table1, const std::string& table2, const ApiContext& ctx)
{
    const std::string base = ctx.pageBaseUrl();
    const std::string user = GetLoginUser();
    if (!user.empty())
        table1 += "||" + user;
    // The server stores the record in the local code page. Both records are encoded: a
    // processor name holds blanks, which would otherwise break the request line.
    const std::string local = TryUtf8ToLocal(table1).value_or(table1);
    for (const std::string& url : {base + "/soft/userlog.php?table1=" + UrlEncode(local),
                                   base + "/soft/userlog.php?table2=" + UrlEncode(table2)}) {
        HttpRequest request = MakeApiRequest(ctx, url, false, ConnectBound::Short);
        request.totalMs = ctx.limits.usageLogMs;
        request.headersOnly = true;
        if (!HttpExchange(request).answered)
            return;
    }
}
