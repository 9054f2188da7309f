#include "service/HttpHelpers.h"
#include "service/WebService.h"

#include <httplib.h>

#include <algorithm>

namespace {

constexpr int kCodeBadRequest = 400;
constexpr int kCodeBadKey = 401;
// A watch list of the client holds at most 2047 bytes, about 290 entries.
constexpr std::size_t kMaxEntries = 300;

enum class Action
{
    Read,
    Write,
    Delete
};

// The codes of `data`, in order, without repetitions; false when one is not a code.
bool ParseCodes(const std::string& data, std::vector<std::string>& codes)
{
    if (data.empty())
        return true;
    for (const std::string& code : SplitOn(data, ',')) {
        if (!IsWatchCode(code))
            return false;
        if (std::find(codes.begin(), codes.end(), code) == codes.end())
            codes.push_back(code);
    }
    return true;
}

void HandleAction(WebService& service, Action action, const httplib::Request& req,
                  httplib::Response& res)
{
    const auto account = service.accountOfKey(req.get_param_value("accesskey"));
    if (!account) {
        ReplyError(res, kCodeBadKey, "登录已失效，请重新登录");
        return;
    }
    if (req.get_param_value("type") != "1") {
        ReplyError(res, kCodeBadRequest, "不支持的类型");
        return;
    }
    Store& store = service.store();
    Json::Value body;
    body["code"] = 200;
    if (action == Action::Read) {
        body["list"] = Json::Value(Json::arrayValue);
        for (const std::string& code : store.readWatchList(account->uid)) {
            Json::Value item;
            item["stockcode"] = code;
            body["list"].append(item);
        }
        ReplyJson(res, body);
        return;
    }
    std::vector<std::string> codes;
    if (!ParseCodes(req.get_param_value("data"), codes)) {
        ReplyError(res, kCodeBadRequest, "股票代码格式错误");
        return;
    }
    if (codes.size() > kMaxEntries) {
        ReplyError(res, kCodeBadRequest, "自选股数量超过上限");
        return;
    }
    const bool stored = action == Action::Write ? store.writeWatchList(account->uid, codes)
                                                : store.deleteFromWatchList(account->uid, codes);
    if (!stored) {
        ReplyError(res, 500, "保存失败，请稍后再试");
        return;
    }
    ReplyJson(res, body);
}

} // namespace

void RegisterWatchListRoutes(httplib::Server& server, WebService& service)
{
    const std::pair<const char*, Action> routes[] = {{"/api/action/read", Action::Read},
                                                     {"/api/action/write", Action::Write},
                                                     {"/api/action/delete", Action::Delete}};
    for (const auto& [path, action] : routes) {
        auto handler = [&service, act = action](const httplib::Request& req,
                                                httplib::Response& res) {
            HandleAction(service, act, req, res);
        };
        server.Get(path, handler);
        server.Post(path, handler);
    }
}
