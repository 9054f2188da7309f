#include "service/HttpHelpers.h"

#include "client/model/AtomicFile.h"
#include "client/model/LocalText.h"

#include <httplib.h>
#include <json/writer.h>

#include <cctype>

void ReplyJson(httplib::Response& res, const Json::Value& body)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    res.set_content(Json::writeString(builder, body), "application/json; charset=utf-8");
}

void ReplyError(httplib::Response& res, int code, const std::string& error)
{
    Json::Value body;
    body["code"] = code;
    body["error"] = error;
    ReplyJson(res, body);
}

void ReplyHtml(httplib::Response& res, const std::string& title, const std::string& body,
               int status)
{
    res.status = status;
    res.set_content("<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
                    "<title>" +
                        HtmlEscape(title) +
                        "</title><link rel=\"stylesheet\" href=\"/site/site.css\"></head>"
                        "<body><header><a href=\"/\">MERIDEX</a></header><main>" +
                        body + "</main></body></html>\n",
                    "text/html; charset=utf-8");
}

std::string CookieValue(const httplib::Request& req, const std::string& name)
{
    const std::string marker = name + "=";
    const auto count = req.get_header_value_count("Cookie");
    for (std::size_t i = 0; i < count; ++i) {
        const std::string header = req.get_header_value("Cookie", i);
        for (std::size_t pos = header.find(marker); pos != std::string::npos;
             pos = header.find(marker, pos + 1)) {
            if (pos > 0 && std::isalnum(static_cast<unsigned char>(header[pos - 1])))
                continue;
            const std::string value = header.substr(pos + marker.size(), 32);
            if (value.size() == 32 &&
                value.find_first_not_of("0123456789abcdef") == std::string::npos)
                return value;
        }
    }
    return {};
}

bool IsLoopbackPeer(const httplib::Request& req)
{
    return req.remote_addr == "127.0.0.1" || req.remote_addr == "::1" ||
           req.remote_addr == "::ffff:127.0.0.1";
}

std::string HtmlEscape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool IsWatchCode(const std::string& text)
{
    const std::size_t start = !text.empty() && text[0] == 'i' ? 1 : 0;
    return text.size() == start + 6 &&
           text.find_first_not_of("0123456789", start) == std::string::npos;
}

std::vector<std::string> SplitOn(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

std::string TextAsUtf8(const std::string& bytes)
{
    if (TryUtf8ToLocal(bytes))
        return bytes;
    return LocalToUtf8(bytes);
}

bool ReplyFile(httplib::Response& res, const std::string& path, const std::string& contentType)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return false;
    res.set_content(std::move(bytes), contentType);
    return true;
}
