#include "client/api/HttpExchange.h"

#include "client/api/CookieStore.h"

#include <cerrno>
#include <cstdio>
#include <curl/curl.h>
#include <fcntl.h>
#include <memory>
#include <strings.h>
#include <unistd.h>

namespace {

struct CurlDeleter
{
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct SlistDeleter
{
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using CurlPtr = std::unique_ptr<CURL, CurlDeleter>;
using SlistPtr = std::unique_ptr<curl_slist, SlistDeleter>;

struct ReplyBuffer
{
    HttpReply* reply;
    std::size_t maxBody;
    bool headersOnly;
    bool headersDone = false;
};

std::string trim(const std::string& s)
{
    auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool headerIs(const std::string& line, const char* name, std::string& value)
{
    const std::size_t n = std::char_traits<char>::length(name);
    if (line.size() <= n || line[n] != ':' || strncasecmp(line.c_str(), name, n) != 0)
        return false;
    value = trim(line.substr(n + 1));
    return true;
}

size_t onHeader(char* data, size_t size, size_t count, void* user)
{
    auto* buf = static_cast<ReplyBuffer*>(user);
    const std::string line(data, size * count);
    HttpReply& reply = *buf->reply;
    if (line.compare(0, 5, "HTTP/") == 0) {
        // A new status line (after a 100 Continue, say): only the final reply counts.
        reply.setCookies.clear();
        reply.hasContentLength = false;
        reply.contentLengthText.clear();
        return size * count;
    }
    std::string value;
    if (headerIs(line, "Set-Cookie", value)) {
        reply.setCookies.push_back(value);
    } else if (headerIs(line, "Content-Length", value)) {
        reply.hasContentLength = true;
        reply.contentLengthText = value;
    } else if (trim(line).empty() && buf->headersOnly) {
        buf->headersDone = true;
        return 0; // ends the transfer; the caller asked for nothing more
    }
    return size * count;
}

size_t onBody(char* data, size_t size, size_t count, void* user)
{
    auto* buf = static_cast<ReplyBuffer*>(user);
    const size_t n = size * count;
    if (buf->reply->body.size() + n > buf->maxBody)
        return 0; // over the cap: abort rather than hold an unbounded reply
    buf->reply->body.append(data, n);
    return n;
}

// Settings every handle of ours carries.
void commonOptions(CURL* h, const std::string& url, long connectMs, char* errorBuffer)
{
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, connectMs);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
    errorBuffer[0] = '\0';
}

std::string describe(CURLcode rc, const char* errorBuffer)
{
    return errorBuffer[0] != '\0' ? std::string(errorBuffer) : std::string(curl_easy_strerror(rc));
}

} // namespace

HttpReply HttpExchange(const HttpRequest& request)
{
    HttpReply reply;
    CurlPtr handle(curl_easy_init());
    if (!handle) {
        reply.error = "out of memory";
        return reply;
    }
    CURL* h = handle.get();
    char errorBuffer[CURL_ERROR_SIZE];
    commonOptions(h, request.url, request.connectMs, errorBuffer);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, request.totalMs);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, request.agent.c_str());
    if (request.post) {
        curl_easy_setopt(h, CURLOPT_POST, 1L);
        curl_easy_setopt(h, CURLOPT_POSTFIELDS, "");
        curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE, 0L);
    }
    // The requests carry no accept types and no body type.
    curl_slist* headers = curl_slist_append(nullptr, "Accept:");
    if (headers != nullptr)
        headers = curl_slist_append(headers, "Content-Type:");
    SlistPtr headerList(headers);
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers);
    if (!request.extraCookie.empty())
        curl_easy_setopt(h, CURLOPT_COOKIE, request.extraCookie.c_str());

    ReplyBuffer buf{&reply, request.maxBodyBytes, request.headersOnly};
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &buf);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &buf);

    CookieStore& cookies = CookieStore::instance();
    const CookieStore::Loaded loaded = cookies.loadInto(h);
    const CURLcode rc = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &reply.status);
    cookies.takeFrom(h, loaded);

    reply.answered = rc == CURLE_OK || (buf.headersDone && reply.status > 0);
    if (!reply.answered)
        reply.error = describe(rc, errorBuffer);
    return reply;
}

namespace {

struct FileSink
{
    int fd;
    bool failed = false;
};

size_t onFileData(char* data, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<FileSink*>(user);
    size_t n = size * count;
    const char* p = data;
    while (n > 0) {
        ssize_t w = ::write(sink->fd, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            sink->failed = true;
            return 0;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return size * count;
}

} // namespace

bool DownloadToFile(const DownloadRequest& request)
{
    CurlPtr handle(curl_easy_init());
    if (!handle)
        return false;
    const int fd = ::open(request.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    CURL* h = handle.get();
    char errorBuffer[CURL_ERROR_SIZE];
    commonOptions(h, request.url, request.connectMs, errorBuffer);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, request.lowSpeedBytes);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, request.lowSpeedSeconds);
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.maxBytes));
    curl_easy_setopt(h, CURLOPT_FAILONERROR, 1L);
    if (request.totalMs > 0)
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, request.totalMs);
    FileSink sink{fd};
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onFileData);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    // A body without a Content-Length can still outgrow the cap.
    curl_easy_setopt(
        h, CURLOPT_XFERINFOFUNCTION,
        +[](void* user, curl_off_t, curl_off_t now, curl_off_t, curl_off_t) -> int {
            return now > *static_cast<curl_off_t*>(user) ? 1 : 0;
        });
    curl_off_t cap = request.maxBytes;
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &cap);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);

    CookieStore& cookies = CookieStore::instance();
    const CookieStore::Loaded loaded = cookies.loadInto(h);
    const CURLcode rc = curl_easy_perform(h);
    cookies.takeFrom(h, loaded);
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);

    bool ok = rc == CURLE_OK && !sink.failed && status >= 200 && status < 300;
    if (::fsync(fd) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    return ok;
}
