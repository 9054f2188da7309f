#pragma once

#include "client/api/ApiContext.h"

#include <string>

// Fetches the stock database to "meridex1.db" and installs it as "meridex.db" only when the
// download is a complete, sound SQLite database; "meridex1.db" is removed in every case.
// True when a new database was installed.
bool DownloadStockDb(const ApiContext& ctx = DefaultApiContext());

// Fetches the updater to "Change.db" and installs it as the executable "Update"; then key
// `num` of section `update` of Set.ini becomes 1. "Change.db" is removed in every case.
// A running updater keeps its old file: the new one takes its name by rename.
// True when the new updater was installed.
bool DownloadUpdater(const ApiContext& ctx = DefaultApiContext());

// True when `path` is a complete SQLite database: the header is right and a quick check
// of the file passes.
bool IsSoundSqliteDatabase(const std::string& path);
