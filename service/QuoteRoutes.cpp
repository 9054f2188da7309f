#include "service/HttpHelpers.h"
#include "service/WebService.h"

#include <httplib.h>

#include <algorithm>

namespace {

constexpr std::size_t kMaxCodes = 300;
constexpr int kMaxRankCount = 100;

Json::Value QuoteJson(const Quote& q)
{
    Json::Value v;
    v["code"] = q.key;
    v["name"] = q.name;
    v["price"] = FormatPrice(q.price);
    v["change"] = FormatPrice(q.change);
    v["volumeratio"] = FormatPrice(q.volumeRatio);
    v["turnover"] = FormatPrice(q.turnover);
    v["prevclose"] = FormatPrice(q.prevClose);
    v["open"] = FormatPrice(q.open);
    v["high"] = FormatPrice(q.high);
    v["low"] = FormatPrice(q.low);
    v["limitup"] = FormatPrice(q.limitUp);
    v["limitdown"] = FormatPrice(q.limitDown);
    v["index"] = q.isIndex;
    v["fixed"] = q.fixed;
    return v;
}

Json::Value Reply(std::time_t now)
{
    Json::Value body;
    body["code"] = 200;
    body["time"] = FormatChinaTime(now);
    return body;
}

// Quotes for "codes" (watch-list entries joined by "," or "|"), in the order asked; codes the
// service does not know are listed in "unknown".
void Quotes(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    std::string codes = req.get_param_value("codes");
    std::replace(codes.begin(), codes.end(), '|', ',');
    const std::vector<std::string> keys =
        codes.empty() ? std::vector<std::string>() : SplitOn(codes, ',');
    if (keys.size() > kMaxCodes) {
        ReplyError(res, 400, "too many codes");
        return;
    }
    const std::time_t now = service.quoteTime();
    Json::Value body = Reply(now);
    body["quotes"] = Json::Value(Json::arrayValue);
    body["unknown"] = Json::Value(Json::arrayValue);
    for (const std::string& key : keys) {
        if (const auto q = service.simulator().quote(key, now))
            body["quotes"].append(QuoteJson(*q));
        else
            body["unknown"].append(key);
    }
    ReplyJson(res, body);
}

// The top stocks by "by": gain, loss, turnover or volumeratio.
void Ranking(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const std::string by = req.get_param_value("by");
    int count = 20;
    if (req.has_param("count")) {
        const std::string text = req.get_param_value("count");
        count = text.size() <= 3 && !text.empty() &&
                        text.find_first_not_of("0123456789") == std::string::npos
                    ? std::stoi(text)
                    : 0;
    }
    using Key = double (*)(const Quote&);
    Key key = nullptr;
    if (by == "gain")
        key = [](const Quote& q) { return q.change; };
    else if (by == "loss")
        key = [](const Quote& q) { return -q.change; };
    else if (by == "turnover")
        key = [](const Quote& q) { return q.turnover; };
    else if (by == "volumeratio")
        key = [](const Quote& q) { return q.volumeRatio; };
    if (!key || count < 1 || count > kMaxRankCount) {
        ReplyError(res, 400, "by must be gain, loss, turnover or volumeratio; count 1 to 100");
        return;
    }
    const std::time_t now = service.quoteTime();
    std::vector<Quote> all = service.simulator().allQuotes(now);
    all.erase(std::remove_if(all.begin(), all.end(), [](const Quote& q) { return q.isIndex; }),
              all.end());
    const std::size_t n = std::min(all.size(), static_cast<std::size_t>(count));
    std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n), all.end(),
                      [key](const Quote& a, const Quote& b) {
                          return key(a) != key(b) ? key(a) > key(b) : a.key < b.key;
                      });
    Json::Value body = Reply(now);
    body["list"] = Json::Value(Json::arrayValue);
    for (std::size_t i = 0; i < n; ++i)
        body["list"].append(QuoteJson(all[i]));
    ReplyJson(res, body);
}

// One stock's quote with its minute prices of the day so far.
void Intraday(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    const std::string key = req.get_param_value("code");
    const std::time_t now = service.quoteTime();
    const auto q = service.simulator().quote(key, now);
    if (!q) {
        ReplyError(res, 404, "unknown code");
        return;
    }
    Json::Value body = Reply(now);
    body["quote"] = QuoteJson(*q);
    body["points"] = Json::Value(Json::arrayValue);
    for (double p : service.simulator().intraday(key, now))
        body["points"].append(FormatPrice(p));
    ReplyJson(res, body);
}

} // namespace

void RegisterQuoteRoutes(httplib::Server& server, WebService& service)
{
    server.Get("/soft/quotes", [&service](const httplib::Request& req, httplib::Response& res) {
        Quotes(service, req, res);
    });
    server.Get("/soft/quotes/rank",
               [&service](const httplib::Request& req, httplib::Response& res) {
                   Ranking(service, req, res);
               });
    server.Get("/soft/quotes/intraday",
               [&service](const httplib::Request& req, httplib::Response& res) {
                   Intraday(service, req, res);
               });
}
