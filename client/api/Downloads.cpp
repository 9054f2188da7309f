#include "client/api/Downloads.h"

#include "client/api/HttpExchange.h"
#include "client/model/IniFile.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DownloadRequest downloadRequest(const ApiContext& ctx, std::string url, std::string path)
{
    DownloadRequest r;
    r.url = std::move(url);
    r.path = std::move(path);
    r.connectMs = ctx.limits.connectMs;
    r.lowSpeedBytes = ctx.limits.lowSpeedBytes;
    r.lowSpeedSeconds = ctx.limits.lowSpeedSeconds;
    r.maxBytes = ctx.limits.maxDownloadBytes;
    return r;
}

std::string folderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// Moves a complete file to its final name in one step, so neither a reader nor a crash
// ever sees a half-written file, and makes the rename durable.
bool installFile(const std::string& from, const std::string& to, mode_t mode)
{
    if (::chmod(from.c_str(), mode) != 0)
        return false;
    if (::rename(from.c_str(), to.c_str()) != 0)
        return false;
    const int dir = ::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

// SQLite URIs give "%", "?" and "#" a meaning of their own.
std::string sqliteUri(const std::string& path)
{
    std::string uri = "file:";
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(c));
            uri += buf;
        } else {
            uri += c;
        }
    }
    // Immutable: the check neither locks nor creates journal or WAL files next to it.
    return uri + "?immutable=1";
}

} // namespace

bool IsSoundSqliteDatabase(const std::string& path)
{
    static const char kHeader[] = "SQLite format 3";
    char header[sizeof kHeader] = {};
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return false;
    const size_t n = std::fread(header, 1, sizeof header, f);
    std::fclose(f);
    if (n != sizeof header || std::memcmp(header, kHeader, sizeof kHeader) != 0)
        return false;

    sqlite3* db = nullptr;
    bool sound = false;
    if (sqlite3_open_v2(sqliteUri(path).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                        nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(stmt, 0);
            sound = text != nullptr && std::strcmp(reinterpret_cast<const char*>(text), "ok") == 0;
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return sound;
}

bool DownloadStockDb(const ApiContext& ctx)
{
    const std::string temp = ctx.file("meridex1.db");
    const std::string target = ctx.file("meridex.db");
    bool installed = false;
    if (DownloadToFile(
            downloadRequest(ctx, ctx.pageBaseUrl() + "/soft/StockDB/meridex.db", temp)) &&
        IsSoundSqliteDatabase(temp)) {
        // Journal and WAL files of the old database would be applied to the new one; they
        // go first, so a reader in between still sees the old database whole.
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            ::unlink((target + suffix).c_str());
        installed = installFile(temp, target, 0644);
    }
    ::unlink(temp.c_str());
    return installed;
}

bool DownloadUpdater(const ApiContext& ctx)
{
    const std::string temp = ctx.file("Change.db");
    bool installed = false;
    if (DownloadToFile(downloadRequest(ctx, ctx.apiBaseUrl() + "/soft/Update/Update.exe", temp)) &&
        installFile(temp, ctx.file("Update"), 0755))
        installed = Ini::WriteString(ctx.setIniPath(), "update", "num", "1");
    ::unlink(temp.c_str());
    return installed;
}
