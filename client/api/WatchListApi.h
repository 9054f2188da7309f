#pragma once

#include "client/api/ApiContext.h"

#include <string>

// The account's watch list on the server. Lists are codes joined by "|"; all three calls
// carry the access key of the current login.

// 1: the server's list is appended to `list` (callers pass an empty text). 0: failure; the
// text is untouched when the server could not be reached and emptied when it refused.
int ApiReadWatchList(std::string& list, const ApiContext& ctx = DefaultApiContext());

// Stores the whole list on the server. 1 success, 0 failure.
int ApiWriteWatchList(const std::string& list, const ApiContext& ctx = DefaultApiContext());

// Removes the given entries on the server. 1 success, 0 failure.
int ApiDeleteWatchList(const std::string& list, const ApiContext& ctx = DefaultApiContext());
