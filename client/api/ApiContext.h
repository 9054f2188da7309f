#pragma once

#include <cstddef>
#include <string>

// Time and size bounds of the server calls. The defaults are the product's; tests shrink
// them so that a stalled server costs a second, not ten.
struct ApiLimits
{
    long connectMs = 5000;      // calls that name no connect bound of their own
    long shortConnectMs = 1000; // reachability test, watch list, usage log
    long exchangeMs = 10000;    // whole API exchange, connect included
    long usageLogMs = 1000;     // each usage-log request: the exit must not wait long
    long lowSpeedBytes = 1024;  // downloads abort below this rate ...
    long lowSpeedSeconds = 30;  // ... held for this long
    std::size_t maxReplyBytes = 1024 * 1024;
    long long maxDownloadBytes = 512LL * 1024 * 1024;
};

// Where a call finds its settings and puts its files, and how long it may take.
struct ApiContext
{
    std::string programFolder;
    ApiLimits limits;

    std::string setIniPath() const { return programFolder + "/Set/Set.ini"; }
    std::string file(const std::string& relative) const { return programFolder + "/" + relative; }
    // Base URLs are read afresh at every call, so an edited Set.ini takes effect at once.
    std::string apiBaseUrl() const;  // key `home` of section `url`
    std::string pageBaseUrl() const; // key `page` of section `url`
};

// The running program's folder with the product's bounds.
ApiContext DefaultApiContext();
