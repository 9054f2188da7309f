#pragma once

#include "ServiceProcess.h"

#include <json/reader.h>
#include <json/value.h>

#include <memory>
#include <string>

inline Json::Value ParseJson(const std::string& text)
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value v;
    std::string error;
    if (!reader->parse(text.data(), text.data() + text.size(), &v, &error))
        return Json::Value();
    return v;
}

// GET and the JSON of the reply (null on any failure).
inline Json::Value GetJson(httplib::Client& c, const std::string& path)
{
    auto r = c.Get(path.c_str());
    return r ? ParseJson(r->body) : Json::Value();
}

inline Json::Value PostJson(httplib::Client& c, const std::string& path,
                            const httplib::Headers& headers = {})
{
    auto r = PostEmpty(c, path, headers);
    return r ? ParseJson(r->body) : Json::Value();
}

struct LoginReply
{
    int code = 0;
    std::string accessKey;
    std::string error;
    std::string setCookie;
};

inline LoginReply Login(httplib::Client& c, const std::string& user, const std::string& password,
                        const std::string& cookie = "", const std::string& verifyCode = "")
{
    std::string path =
        "/api/user/login?appkey=53190627&sign=957&v=1.0&username=" + user + "&password=" + password;
    if (!verifyCode.empty())
        path += "&verifycode=" + verifyCode;
    httplib::Headers headers;
    if (!cookie.empty())
        headers.emplace("Cookie", cookie);
    LoginReply out;
    auto r = PostEmpty(c, path, headers);
    if (!r)
        return out;
    const Json::Value v = ParseJson(r->body);
    out.code = v["code"].isInt() ? v["code"].asInt() : -1;
    out.accessKey = v["accesskey"].isString() ? v["accesskey"].asString() : "";
    out.error = v["error"].isString() ? v["error"].asString() : "";
    out.setCookie = r->get_header_value("Set-Cookie");
    return out;
}
