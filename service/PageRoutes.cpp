#include "service/HttpHelpers.h"
#include "service/UpdateChannel.h"
#include "service/WebService.h"

#include <httplib.h>

namespace {

constexpr std::size_t kMaxUsageRecord = 2048;
constexpr int kListedUsageRecords = 50;

const char* ContentTypeOf(const std::string& name)
{
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".js") == 0)
        return "application/javascript; charset=utf-8";
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".css") == 0)
        return "text/css; charset=utf-8";
    return "text/html; charset=utf-8";
}

void NotFound(httplib::Response& res)
{
    res.status = 404;
    res.set_content("404 Not Found\n", "text/plain; charset=utf-8");
}

void UsageLogList(WebService& service, httplib::Response& res)
{
    std::string rows;
    for (const UsageRecord& r : service.store().latestUsageRecords(kListedUsageRecords))
        rows += "<tr><td>" + FormatChinaTime(r.received) + "</td><td>" + HtmlEscape(r.peer) +
                "</td><td>table" + std::to_string(r.table) + "</td><td>" + HtmlEscape(r.record) +
                "</td></tr>\n";
    ReplyHtml(res, "使用记录",
              "<h1>最近的使用记录</h1><table><tr><th>时间</th><th>来源</th><th>表</th>"
              "<th>记录</th></tr>\n" +
                  rows + "</table>");
}

void UsageLog(WebService& service, const httplib::Request& req, httplib::Response& res)
{
    int stored = 0;
    for (int table = 1; table <= 2; ++table) {
        const std::string name = "table" + std::to_string(table);
        if (!req.has_param(name.c_str()))
            continue;
        // Table 1 arrives unencoded in the client's local code page; keep it readable.
        std::string record = TextAsUtf8(req.get_param_value(name.c_str()));
        if (record.size() > kMaxUsageRecord)
            record.resize(kMaxUsageRecord);
        record = TextAsUtf8(record); // a cut inside a character is dropped
        if (!service.store().addUsageRecord(table, record, req.remote_addr,
                                            service.clock().now())) {
            res.status = 500;
            res.set_content("error\n", "text/plain");
            return;
        }
        ++stored;
    }
    if (stored == 0) {
        UsageLogList(service, res);
        return;
    }
    res.set_content("ok\n", "text/plain");
}

} // namespace

void RegisterPageRoutes(httplib::Server& server, WebService& service)
{
    server.Get("/soft/lastversion.txt",
               [&service](const httplib::Request&, httplib::Response& res) {
                   res.set_content(UpdateChannel::VersionFile(service.config().latestVersion),
                                   "text/plain; charset=gb18030");
               });
    server.Get("/soft/StockDB/meridex.db",
               [&service](const httplib::Request&, httplib::Response& res) {
                   if (!ReplyFile(res, service.stockDbPath(), "application/x-sqlite3"))
                       NotFound(res);
               });
    server.Get("/soft/userlog.php",
               [&service](const httplib::Request& req, httplib::Response& res) {
                   UsageLog(service, req, res);
               });
    // The three pages, whatever version the client asks for; their scripts and style sheet
    // sit next to them.
    server.Get(R"(/soft/[0-9.]{1,16}/htmls/(stockmy|stocktop|stocksingle)\.php)",
               [&service](const httplib::Request& req, httplib::Response& res) {
                   const std::string file =
                       service.filesPath("pages/" + std::string(req.matches[1]) + ".html");
                   if (!ReplyFile(res, file, ContentTypeOf(file)))
                       NotFound(res);
                   res.set_header("Cache-Control", "no-cache");
               });
    server.Get(R"(/soft/[0-9.]{1,16}/htmls/([a-z][a-z0-9-]{0,40}\.(js|css)))",
               [&service](const httplib::Request& req, httplib::Response& res) {
                   const std::string name = req.matches[1];
                   if (!ReplyFile(res, service.filesPath("pages/" + name), ContentTypeOf(name)))
                       NotFound(res);
                   res.set_header("Cache-Control", "no-cache");
               });
}
