#pragma once

#include <string>
#include <vector>

// One request to a web server on a fresh libcurl handle: HTTP/1.1, no body, no redirect
// following (a redirect reply is the reply), only http and https, bounded in time and size.
struct HttpRequest
{
    std::string url;
    bool post = false;
    std::string agent = "my brower"; // the service relies on this exact, misspelled agent
    long connectMs = 5000;
    long totalMs = 10000;
    // Sent in the Cookie header besides the stored cookies; empty for none.
    std::string extraCookie;
    // Stop as soon as the reply's headers are in: the caller only wants to know that the
    // server answered.
    bool headersOnly = false;
    std::size_t maxBodyBytes = 1024 * 1024;
};

struct HttpReply
{
    bool answered = false; // a complete reply (headers and, unless headersOnly, the body)
    long status = 0;       // 0 when no reply header arrived
    std::vector<std::string> setCookies; // values of the Set-Cookie headers, in order
    bool hasContentLength = false;
    std::string contentLengthText; // as sent
    std::string body;              // what arrived; complete only when answered
    std::string error;             // libcurl's description when not answered
};

HttpReply HttpExchange(const HttpRequest& request);

struct DownloadRequest
{
    std::string url;
    std::string path; // created or truncated; left for the caller to install or remove
    long connectMs = 5000;
    long lowSpeedBytes = 1024;
    long lowSpeedSeconds = 30;
    long long maxBytes = 512LL * 1024 * 1024;
    long totalMs = 0; // 0: only the rate bound applies
};

// Whole-file download, following redirects as a browser download does. True only for a
// complete body with a 2xx status, flushed to disk.
bool DownloadToFile(const DownloadRequest& request);
