#include "service/HttpHelpers.h"
#include "service/WebService.h"

#include <httplib.h>
#include <json/reader.h>

#include <cmath>

namespace {

constexpr std::size_t kMaxOverrides = 1000;

using Handler = void (*)(WebService&, const httplib::Request&, httplib::Response&);

// The scenario interface changes what every client sees: only this machine may use it.
httplib::Server::Handler LoopbackOnly(WebService& service, Handler handler)
{
    return [&service, handler](const httplib::Request& req, httplib::Response& res) {
        if (!IsLoopbackPeer(req)) {
            res.status = 403;
            ReplyError(res, 403, "loopback only");
            return;
        }
        handler(service, req, res);
    };
}

bool ReadNumber(const Json::Value& item, const char* name, std::optional<double>& out)
{
    if (!item.isMember(name))
        return true;
    const Json::Value& v = item[name];
    double d = 0;
    if (v.isNumeric())
        d = v.asDouble();
    else if (v.isString()) {
        const std::string s = v.asString();
        char* end = nullptr;
        d = std::strtod(s.c_str(), &end);
        if (s.empty() || *end != '\0')
            return false;
    } else
        return false;
    if (!std::isfinite(d) || std::fabs(d) > 1e9)
        return false;
    out = d;
    return true;
}

// The quotes of a request: a JSON body {"quotes": [{"code", "price", "change",
// "volumeratio", "turnover"}, ...]}, or the same names of one quote in the query.
bool ReadOverrides(const httplib::Request& req, Json::Value& quotes, std::string& error)
{
    if (req.body.empty()) {
        Json::Value one(Json::objectValue);
        for (const char* name : {"code", "price", "change", "volumeratio", "turnover"})
            if (req.has_param(name))
                one[name] = req.get_param_value(name);
        quotes = Json::Value(Json::arrayValue);
        quotes.append(one);
        return true;
    }
    Json::CharReaderBuilder builder;
    Json::Value root;
    std::string parseError;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(req.body.data(), req.body.data() + req.body.size(), &root, &parseError) ||
        !root.isObject() || !root["quotes"].isArray()) {
        error = "expected {\"quotes\": [...]}";
        return false;
    }
    quotes = root["quotes"];
    return true;
}

void SetQuotes(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    Json::Value quotes;
    std::string error;
    if (!ReadOverrides(req, quotes, error)) {
        ReplyError(res, 400, error);
        return;
    }
    if (quotes.size() > kMaxOverrides) {
        ReplyError(res, 400, "too many quotes");
        return;
    }
    // Checked as a whole first, so a bad entry changes nothing.
    std::vector<std::pair<std::string, QuoteOverride>> changes;
    for (const Json::Value& item : quotes) {
        const std::string code =
            item.isObject() && item["code"].isString() ? item["code"].asString() : "";
        QuoteOverride o;
        if (!service.stocks().find(code)) {
            ReplyError(res, 400, "unknown code: " + code);
            return;
        }
        if (!ReadNumber(item, "price", o.price) || !ReadNumber(item, "change", o.change) ||
            !ReadNumber(item, "volumeratio", o.volumeRatio) ||
            !ReadNumber(item, "turnover", o.turnover) || (o.price && *o.price <= 0)) {
            ReplyError(res, 400, "bad value for " + code);
            return;
        }
        changes.emplace_back(code, o);
    }
    for (const auto& [code, o] : changes)
        service.simulator().setOverride(code, o);
    Json::Value body;
    body["code"] = 200;
    body["set"] = static_cast<Json::UInt>(changes.size());
    ReplyJson(res, body);
}

void ClearQuotes(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    if (req.has_param("code"))
        service.simulator().clearOverride(req.get_param_value("code"));
    else
        service.simulator().clearOverrides();
    Json::Value body;
    body["code"] = 200;
    ReplyJson(res, body);
}

void Clock(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    ServiceClock& clock = service.clock();
    if (req.method == "POST") {
        if (req.has_param("time")) {
            std::time_t t = 0;
            if (!ServiceClock::parse(req.get_param_value("time"), clock.now(), t)) {
                ReplyError(res, 400, "bad time");
                return;
            }
            if (req.get_param_value("run") == "1")
                clock.startAt(t);
            else
                clock.freezeAt(t);
        } else if (req.get_param_value("run") == "1") {
            clock.release();
        } else {
            ReplyError(res, 400, "time or run=1 needed");
            return;
        }
    }
    Json::Value body;
    body["code"] = 200;
    body["time"] = FormatChinaTime(clock.now());
    body["frozen"] = clock.frozen();
    ReplyJson(res, body);
}

void AccountFlag(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const std::string flag = req.get_param_value("showAd");
    if ((flag != "0" && flag != "1") ||
        !service.store().setShowAd(req.get_param_value("username"), flag == "1")) {
        ReplyError(res, 400, "username of an account and showAd 0 or 1 needed");
        return;
    }
    Json::Value body;
    body["code"] = 200;
    ReplyJson(res, body);
}

// Lets an automated test read the code a verification image shows.
void VerifyCode(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const std::string code = service.store().peekVerifyCode(req.get_param_value("cookie"));
    if (code.empty()) {
        ReplyError(res, 404, "no code for this cookie");
        return;
    }
    Json::Value body;
    body["code"] = 200;
    body["verifycode"] = code;
    ReplyJson(res, body);
}

} // namespace

void RegisterAdminRoutes(httplib::Server& server, WebService& service)
{
    server.Post("/admin/quotes", LoopbackOnly(service, SetQuotes));
    server.Delete("/admin/quotes", LoopbackOnly(service, ClearQuotes));
    server.Post("/admin/quotes/clear", LoopbackOnly(service, ClearQuotes));
    server.Get("/admin/clock", LoopbackOnly(service, Clock));
    server.Post("/admin/clock", LoopbackOnly(service, Clock));
    server.Post("/admin/account", LoopbackOnly(service, AccountFlag));
    server.Get("/admin/verifycode", LoopbackOnly(service, VerifyCode));
}
