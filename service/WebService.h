#pragma once

#include "service/QuoteSimulator.h"
#include "service/ScenarioFile.h"
#include "service/ServiceClock.h"
#include "service/ServiceOptions.h"
#include "service/StockTable.h"
#include "service/Store.h"

#include <memory>
#include <string>

namespace httplib {
class Server;
} // namespace httplib

// The API server, the page server and the main web site in one HTTP server, with the
// records, the stock list and the quote simulator they share.
class WebService
{
public:
    explicit WebService(ServiceConfig config);
    ~WebService();
    WebService(const WebService&) = delete;
    WebService& operator=(const WebService&) = delete;

    // Prepares the data folder, the store and the stock database, and binds the socket.
    // The bound port afterwards; 0 with `error` set on failure.
    int start(std::string& error);
    // Serves until stop(); false when serving failed.
    bool run();
    void stop();

    const ServiceConfig& config() const { return m_config; }
    int port() const { return m_port; }
    Store& store() { return m_store; }
    const StockTable& stocks() const { return m_stocks; }
    QuoteSimulator& simulator() { return *m_simulator; }
    ServiceClock& clock() { return m_clock; }
    ScenarioFile& scenario() { return m_scenario; }
    // The clock's now, after due scenario steps have been applied to the simulator.
    std::time_t quoteTime();

    // The account of a valid, unexpired access key.
    std::optional<Account> accountOfKey(const std::string& accessKey);

    std::string filesPath(const std::string& relative) const;
    std::string stockDbPath() const;

private:
    bool prepareData(std::string& error);
    bool seedDemoAccounts(std::string& error);
    void registerRoutes();

    ServiceConfig m_config;
    Store m_store;
    StockTable m_stocks;
    std::unique_ptr<QuoteSimulator> m_simulator;
    ServiceClock m_clock;
    ScenarioFile m_scenario;
    std::unique_ptr<httplib::Server> m_server;
    int m_port = 0;
};

// Route groups, one file each.
void RegisterAccountRoutes(httplib::Server& server, WebService& service);
void RegisterWatchListRoutes(httplib::Server& server, WebService& service);
void RegisterPageRoutes(httplib::Server& server, WebService& service);
void RegisterQuoteRoutes(httplib::Server& server, WebService& service);
void RegisterUpdateRoutes(httplib::Server& server, WebService& service);
void RegisterSiteRoutes(httplib::Server& server, WebService& service);
void RegisterAdminRoutes(httplib::Server& server, WebService& service);
