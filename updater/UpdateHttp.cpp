#include "updater/UpdateHttp.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct UrlDeleter
{
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

std::optional<std::string> urlPart(CURLU* url, CURLUPart part, unsigned flags = 0)
{
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK)
        return std::nullopt;
    std::string value(text);
    curl_free(text);
    return value;
}

UrlHandle parseHttpUrl(const std::string& url)
{
    initCurlOnce();
    UrlHandle handle(curl_url());
    if (!handle || url.empty() ||
        curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return nullptr;
    auto scheme = urlPart(handle.get(), CURLUPART_SCHEME);
    if (!scheme || (*scheme != "http" && *scheme != "https"))
        return nullptr;
    return handle;
}

struct Transfer
{
    HttpReplySink& sink;
    const std::atomic<bool>& stop;
    CURL* curl;
    bool replied = false;

    bool reply()
    {
        replied = true;
        long status = 0;
        curl_off_t length = -1;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        return sink.onReply(status, static_cast<long long>(length));
    }
};

size_t onWrite(char* data, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    if (!t->replied && !t->reply())
        return 0;
    return t->sink.onBody(data, size * count) ? size * count : 0;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<Transfer*>(user)->stop.load() ? 1 : 0;
}

} // namespace

std::optional<HttpTarget> SplitHttpUrl(const std::string& url)
{
    UrlHandle handle = parseHttpUrl(url);
    if (!handle)
        return std::nullopt;
    HttpTarget target;
    target.scheme = urlPart(handle.get(), CURLUPART_SCHEME).value_or("");
    target.host = urlPart(handle.get(), CURLUPART_HOST).value_or("");
    long port = std::stol(urlPart(handle.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT).value_or("0"));
    target.port = static_cast<unsigned short>(port);
    target.object = urlPart(handle.get(), CURLUPART_PATH).value_or("/");
    if (auto query = urlPart(handle.get(), CURLUPART_QUERY))
        target.object += "?" + *query;
    if (target.host.empty())
        return std::nullopt;
    return target;
}

std::string ReplaceUrlObject(const std::string& url, const std::string& object)
{
    UrlHandle handle = parseHttpUrl(url);
    if (!handle)
        return {};
    auto mark = object.find('?');
    std::string path = object.substr(0, mark);
    curl_url_set(handle.get(), CURLUPART_PATH, path.empty() ? "/" : path.c_str(), 0);
    curl_url_set(handle.get(), CURLUPART_QUERY,
                 mark == std::string::npos ? nullptr : object.c_str() + mark + 1, 0);
    curl_url_set(handle.get(), CURLUPART_FRAGMENT, nullptr, 0);
    return urlPart(handle.get(), CURLUPART_URL).value_or("");
}

HttpGetResult HttpGet(const std::string& url, bool followRedirects, HttpReplySink& sink,
                      const std::atomic<bool>& stop)
{
    initCurlOnce();
    HttpGetResult result;
    std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        result.error = "out of memory";
        return result;
    }
    char errorText[CURL_ERROR_SIZE] = {};
    Transfer transfer{sink, stop, curl.get()};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, 2000L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 30L);
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, followRedirects ? 1L : 0L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Update");
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onWrite);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);

    CURLcode rc = curl_easy_perform(c);
    if (!transfer.replied && !stop.load()) {
        long status = 0;
        curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
        // Headers without a body, or a body that broke off before its first byte.
        if (status != 0)
            transfer.reply();
    }
    result.replied = transfer.replied;
    if (!result.replied)
        result.error = errorText[0] ? errorText : curl_easy_strerror(rc);
    return result;
}
