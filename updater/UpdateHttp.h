#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>

// The updater's own HTTP exchange on libcurl: a 2000 ms connect time-out, http and https only
// (certificates verified), the system's proxy settings from the environment, and a transfer
// that stalls for 30 s counts as broken.

// The parts of an http or https URL; nullopt for any other URL.
struct HttpTarget
{
    std::string scheme;
    std::string host;
    unsigned short port = 0;
    std::string object; // path and query
};
std::optional<HttpTarget> SplitHttpUrl(const std::string& url);

// `url` with its path and query replaced by those of `object` ("/path?query").
std::string ReplaceUrlObject(const std::string& url, const std::string& object);

// Receives one reply as it arrives.
class HttpReplySink
{
public:
    virtual ~HttpReplySink() = default;
    // Status line and headers are in; `contentLength` is -1 without that header. False ends
    // the transfer.
    virtual bool onReply(long status, long long contentLength) = 0;
    // A piece of the body. False ends the transfer.
    virtual bool onBody(const char* data, std::size_t size) = 0;
};

struct HttpGetResult
{
    // A reply arrived and the sink was told (its body may have been cut short).
    bool replied = false;
    // The network error text when no reply arrived.
    std::string error;
};

// A GET of `url`. Redirects are followed only when asked. Setting `stop` ends the transfer
// soon after.
HttpGetResult HttpGet(const std::string& url, bool followRedirects, HttpReplySink& sink,
                      const std::atomic<bool>& stop);
