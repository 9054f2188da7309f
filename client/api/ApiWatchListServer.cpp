#include "client/api/ApiWatchListServer.h"

#include "client/api/WatchListApi.h"

bool ApiWatchListServer::ApiWriteWatchList(const std::string& list)
{
    return ::ApiWriteWatchList(list, m_ctx) == 1;
}

bool ApiWatchListServer::ApiDeleteWatchList(const std::string& entry)
{
    return ::ApiDeleteWatchList(entry, m_ctx) == 1;
}
