#pragma once

#include "client/alerts/AlertPorts.h"
#include "client/api/ApiContext.h"

// The watch-list operations' server port, answered by the account's list on the web service.
class ApiWatchListServer : public IWatchListServer
{
public:
    explicit ApiWatchListServer(ApiContext ctx = DefaultApiContext()) : m_ctx(std::move(ctx)) {}

    bool ApiWriteWatchList(const std::string& list) override;
    bool ApiDeleteWatchList(const std::string& entry) override;

private:
    ApiContext m_ctx;
};
