#pragma once

#include <json/value.h>

#include <string>
#include <vector>

namespace httplib {
struct Request;
struct Response;
} // namespace httplib

// Name of the cookie that ties a verification code to the next login of the same client.
inline constexpr const char* kSessionCookieName = "MXSESSION";
// Name of the cookie of the main web site's pages after a key login.
inline constexpr const char* kSiteCookieName = "MXSITE";

// API replies: one line of UTF-8 JSON, no line end, so that the last line is the whole reply.
void ReplyJson(httplib::Response& res, const Json::Value& body);
// {"code": code, "error": text}
void ReplyError(httplib::Response& res, int code, const std::string& error);
void ReplyHtml(httplib::Response& res, const std::string& title, const std::string& body,
               int status = 200);

// The value of a cookie. Clients hand the cookie text back in several shapes ("NAME=v",
// "NAME=v; Path=/", "Cookie:NAME=v", several values run together); only a well-formed value
// of 32 hexadecimal digits counts.
std::string CookieValue(const httplib::Request& req, const std::string& name);

bool IsLoopbackPeer(const httplib::Request& req);
std::string HtmlEscape(const std::string& text);
// A watch-list entry: six digits, or "i" and six digits.
bool IsWatchCode(const std::string& text);
std::vector<std::string> SplitOn(const std::string& text, char separator);
// Valid UTF-8 as it is; otherwise read as local code page text; otherwise empty.
std::string TextAsUtf8(const std::string& bytes);
// The whole file as the reply; false (and nothing set) when it cannot be read.
bool ReplyFile(httplib::Response& res, const std::string& path, const std::string& contentType);
