#include "service/WebService.h"

#include "service/HttpHelpers.h"

#include <httplib.h>

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxPayload = 64 * 1024;

// The demo watch list: stocks of several boards and two indexes.
const std::vector<std::string> kDemoWatchList = {"600000", "000001",  "300750",
                                                 "688981", "i000001", "i399001"};

void LogRequest(const httplib::Request& req, const httplib::Response& res)
{
    // The path only: queries carry passwords and access keys.
    std::string line = FormatChinaTime(std::time(nullptr)) + " " + req.remote_addr + " " +
                       req.method + " " + req.path + " " + std::to_string(res.status) + " " +
                       std::to_string(res.body.size()) + "\n";
    std::fputs(line.c_str(), stderr);
}

} // namespace

WebService::WebService(ServiceConfig config) : m_config(std::move(config)) {}

WebService::~WebService() = default;

std::string WebService::filesPath(const std::string& relative) const
{
    return m_config.filesDir + "/" + relative;
}

std::string WebService::stockDbPath() const
{
    return m_config.dataDir + "/meridex.db";
}

std::time_t WebService::quoteTime()
{
    const std::time_t now = m_clock.now();
    m_scenario.applyDue(now, *m_simulator);
    return now;
}

std::optional<Account> WebService::accountOfKey(const std::string& accessKey)
{
    if (accessKey.empty())
        return std::nullopt;
    const auto uid = m_store.sessionUid(accessKey, m_clock.now());
    return uid ? m_store.accountById(*uid) : std::nullopt;
}

bool WebService::seedDemoAccounts(std::string& error)
{
    if (m_store.findAccount("demo"))
        return true;
    const int demo = m_store.createAccount("demo", "meridex", false);
    const int adUser = m_store.createAccount("guest", "meridex", true);
    if (demo == 0 || adUser == 0 || !m_store.writeWatchList(demo, kDemoWatchList)) {
        error = "cannot seed the demo accounts";
        return false;
    }
    return true;
}

bool WebService::prepareData(std::string& error)
{
    std::error_code ec;
    fs::create_directories(m_config.dataDir, ec);
    if (ec) {
        error = "cannot create " + m_config.dataDir + ": " + ec.message();
        return false;
    }
    if (!m_store.open(m_config.dataDir + "/service.db", error) || !seedDemoAccounts(error))
        return false;
    const std::string csv = filesPath("data/stocks.csv");
    if (!m_stocks.load(csv, error))
        return false;
    // Rebuilt when missing or older than the list it comes from.
    const std::string db = stockDbPath();
    const bool stale =
        !fs::exists(db, ec) || fs::last_write_time(db, ec) < fs::last_write_time(csv, ec);
    if (stale && !BuildStockDatabase(m_stocks, db, error))
        return false;
    m_simulator = std::make_unique<QuoteSimulator>(m_stocks, m_config.seed);
    if (!m_config.clock.empty()) {
        std::time_t start = 0;
        if (!ServiceClock::parse(m_config.clock, std::time(nullptr), start)) {
            error = "bad clock: " + m_config.clock;
            return false;
        }
        m_clock.startAt(start);
    }
    if (!m_config.scenarioFile.empty() &&
        !m_scenario.load(m_config.scenarioFile, m_clock.now(), error))
        return false;
    return true;
}

int WebService::start(std::string& error)
{
    if (!prepareData(error))
        return 0;
    m_server = std::make_unique<httplib::Server>();
    httplib::Server& s = *m_server;
    s.set_payload_max_length(kMaxPayload);
    s.set_read_timeout(5, 0);
    s.set_write_timeout(5, 0);
    s.set_keep_alive_max_count(100);
    s.set_logger(LogRequest);
    // A request without Content-Length or chunked encoding has an empty body (RFC 9112), but
    // this httplib waits for the connection to close and then answers 400. The client's API
    // calls are POSTs without a body, so say so for them before the body is read. The
    // request object is not const inside the server; the handler type only presents it so.
    s.set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
        if (!req.has_header("Content-Length") && !req.has_header("Transfer-Encoding"))
            const_cast<httplib::Request&>(req).set_header("Content-Length", "0");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.body.empty())
            res.set_content(std::to_string(res.status) +
                                (res.status == 404 ? " Not Found\n" : " Error\n"),
                            "text/plain; charset=utf-8");
    });
    s.set_exception_handler(
        [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
            res.status = 500;
            res.set_content("500 Internal Server Error\n", "text/plain; charset=utf-8");
        });
    registerRoutes();
    int port = m_config.port;
    if (port == 0)
        port = s.bind_to_any_port(m_config.bind);
    else if (!s.bind_to_port(m_config.bind, port))
        port = -1;
    if (port <= 0) {
        error = "cannot listen on " + m_config.bind + ":" + std::to_string(m_config.port);
        return 0;
    }
    m_port = port;
    return port;
}

bool WebService::run()
{
    return m_server && m_server->listen_after_bind();
}

void WebService::stop()
{
    if (m_server)
        m_server->stop();
}

void WebService::registerRoutes()
{
    RegisterAccountRoutes(*m_server, *this);
    RegisterWatchListRoutes(*m_server, *this);
    RegisterPageRoutes(*m_server, *this);
    RegisterQuoteRoutes(*m_server, *this);
    RegisterUpdateRoutes(*m_server, *this);
    RegisterSiteRoutes(*m_server, *this);
    RegisterAdminRoutes(*m_server, *this);
}
