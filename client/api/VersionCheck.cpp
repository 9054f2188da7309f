#include "client/api/VersionCheck.h"

#include "client/api/HttpExchange.h"
#include "client/model/IniFile.h"

#include <cstdlib>
#include <locale.h>
#include <unistd.h>

namespace {

// Version numbers use "." whatever locale the program runs in.
float parseDecimal(const std::string& text)
{
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0));
    if (cLocale == static_cast<locale_t>(0))
        return std::strtof(text.c_str(), nullptr);
    return strtof_l(text.c_str(), nullptr, cLocale);
}

} // namespace

float VersionValue(const std::string& version, bool last)
{
    if (version.size() < 3)
        return parseDecimal(version);
    return parseDecimal(last ? version.substr(version.size() - 3) : version.substr(0, 3));
}

int CompareVersions(const std::string& installed, const std::string& latest, float& installedValue,
                    float& latestValue)
{
    float a = VersionValue(installed, false);
    float b = VersionValue(latest, false);
    if (a == b) {
        a = VersionValue(installed, true);
        b = VersionValue(latest, true);
    }
    installedValue = a;
    latestValue = b;
    return a < b ? 1 : 0;
}

int CheckVersion(float& installedValue, float& latestValue,
                 const std::function<void(const std::string&)>& showMessage, const ApiContext& ctx)
{
    const std::string installed = Ini::ReadString(ctx.setIniPath(), "Version", "num", "");
    if (installed.empty()) {
        if (showMessage)
            showMessage("文件损坏，请重新安装程序！");
        return 3;
    }
    const std::string target = ctx.file("Set/version.dat");
    DownloadRequest request;
    request.url = ctx.pageBaseUrl() + "/soft/lastversion.txt";
    request.path = target;
    request.connectMs = ctx.limits.connectMs;
    request.lowSpeedBytes = ctx.limits.lowSpeedBytes;
    request.lowSpeedSeconds = ctx.limits.lowSpeedSeconds;
    request.maxBytes = static_cast<long long>(ctx.limits.maxReplyBytes);
    // Start-up waits for this one.
    request.totalMs = ctx.limits.exchangeMs;
    const bool downloaded = DownloadToFile(request);
    const std::string latest =
        downloaded ? Ini::ReadString(target, "Version", "num", "") : std::string();
    ::unlink(target.c_str());
    if (!downloaded)
        return 0;

    float a = 0;
    float b = 0;
    if (CompareVersions(installed, latest, a, b) == 0)
        return 0;
    installedValue = a;
    latestValue = b;
    return 1;
}
