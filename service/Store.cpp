#include "service/Store.h"

#include "service/PasswordHash.h"

#include <sqlite3.h>

#include <algorithm>

// A prepared statement that is finalized on every path.
class Store::Statement
{
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            m_stmt = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_stmt != nullptr; }
    Statement& bind(int i, const std::string& s)
    {
        if (m_stmt)
            sqlite3_bind_blob(m_stmt, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bindText(int i, const std::string& s)
    {
        if (m_stmt)
            sqlite3_bind_text(m_stmt, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& bind(int i, long long v)
    {
        if (m_stmt)
            sqlite3_bind_int64(m_stmt, i, v);
        return *this;
    }
    bool row() { return m_stmt && sqlite3_step(m_stmt) == SQLITE_ROW; }
    bool run() { return m_stmt && sqlite3_step(m_stmt) == SQLITE_DONE; }
    long long integer(int col) { return sqlite3_column_int64(m_stmt, col); }
    std::string text(int col)
    {
        const void* p = sqlite3_column_blob(m_stmt, col);
        const int n = sqlite3_column_bytes(m_stmt, col);
        return p ? std::string(static_cast<const char*>(p), static_cast<std::size_t>(n))
                 : std::string();
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

Store::~Store()
{
    sqlite3_close(m_db);
}

bool Store::exec(const char* sql)
{
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool Store::open(const std::string& path, std::string& error)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (sqlite3_open_v2(path.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        error = m_db ? sqlite3_errmsg(m_db) : "cannot open " + path;
        return false;
    }
    sqlite3_busy_timeout(m_db, 5000);
    const bool ok =
        exec("PRAGMA journal_mode=WAL;"
             "PRAGMA synchronous=NORMAL;"
             "PRAGMA foreign_keys=ON;"
             "CREATE TABLE IF NOT EXISTS accounts(uid INTEGER PRIMARY KEY,"
             " username TEXT NOT NULL UNIQUE COLLATE NOCASE, salt BLOB NOT NULL,"
             " hash BLOB NOT NULL, iterations INTEGER NOT NULL, show_ad INTEGER NOT NULL);"
             "CREATE TABLE IF NOT EXISTS sessions(accesskey TEXT PRIMARY KEY,"
             " uid INTEGER NOT NULL REFERENCES accounts(uid), expires INTEGER NOT NULL);"
             "CREATE TABLE IF NOT EXISTS verify_codes(cookie TEXT PRIMARY KEY,"
             " code TEXT NOT NULL, expires INTEGER NOT NULL);"
             "CREATE TABLE IF NOT EXISTS failed_logins(username TEXT PRIMARY KEY COLLATE NOCASE,"
             " count INTEGER NOT NULL, updated INTEGER NOT NULL);"
             "CREATE TABLE IF NOT EXISTS watchlist(uid INTEGER NOT NULL REFERENCES accounts(uid),"
             " pos INTEGER NOT NULL, code TEXT NOT NULL, PRIMARY KEY(uid, pos));"
             "CREATE TABLE IF NOT EXISTS usage_log(id INTEGER PRIMARY KEY, tbl INTEGER NOT NULL,"
             " record TEXT NOT NULL, peer TEXT NOT NULL, received INTEGER NOT NULL);");
    if (!ok) {
        error = sqlite3_errmsg(m_db);
        return false;
    }
    return true;
}

namespace {

Account ReadAccount(long long uid, std::string username, std::string salt, std::string hash,
                    long long iterations, long long showAd)
{
    Account a;
    a.uid = static_cast<int>(uid);
    a.username = std::move(username);
    a.salt = std::move(salt);
    a.hash = std::move(hash);
    a.iterations = static_cast<int>(iterations);
    a.showAd = showAd != 0;
    return a;
}

} // namespace

std::optional<Account> Store::firstAccount(Statement& st)
{
    if (!st.row())
        return std::nullopt;
    return ReadAccount(st.integer(0), st.text(1), st.text(2), st.text(3), st.integer(4),
                       st.integer(5));
}

std::optional<Account> Store::findAccount(const std::string& username)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "SELECT uid, username, salt, hash, iterations, show_ad FROM accounts"
                       " WHERE username = ?");
    st.bindText(1, username);
    return firstAccount(st);
}

std::optional<Account> Store::accountById(int uid)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "SELECT uid, username, salt, hash, iterations, show_ad FROM accounts"
                       " WHERE uid = ?");
    st.bind(1, uid);
    return firstAccount(st);
}

int Store::createAccount(const std::string& username, const std::string& password, bool showAd)
{
    // Derived outside the lock: it is slow on purpose.
    const std::string salt = PasswordHash::RandomBytes(16);
    const std::string hash = salt.empty()
                                 ? std::string()
                                 : PasswordHash::Derive(password, salt, PasswordHash::kIterations);
    if (hash.empty())
        return 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "INSERT INTO accounts(username, salt, hash, iterations, show_ad)"
                       " VALUES(?, ?, ?, ?, ?)");
    st.bindText(1, username).bind(2, salt).bind(3, hash);
    st.bind(4, PasswordHash::kIterations).bind(5, showAd ? 1 : 0);
    if (!st.run())
        return 0;
    return static_cast<int>(sqlite3_last_insert_rowid(m_db));
}

bool Store::setShowAd(const std::string& username, bool showAd)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "UPDATE accounts SET show_ad = ? WHERE username = ?");
    st.bind(1, showAd ? 1 : 0).bindText(2, username);
    return st.run() && sqlite3_changes(m_db) == 1;
}

int Store::failedLogins(const std::string& username)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "SELECT count FROM failed_logins WHERE username = ?");
    st.bindText(1, username);
    return st.row() ? static_cast<int>(st.integer(0)) : 0;
}

void Store::addFailedLogin(const std::string& username, std::time_t now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // Counters of names nobody has tried for a day are dropped, so the table stays small.
    Statement purge(m_db, "DELETE FROM failed_logins WHERE updated < ?");
    purge.bind(1, static_cast<long long>(now - 86400)).run();
    Statement st(m_db, "INSERT INTO failed_logins(username, count, updated) VALUES(?, 1, ?)"
                       " ON CONFLICT(username) DO UPDATE SET count = count + 1, updated = ?");
    st.bindText(1, username).bind(2, static_cast<long long>(now));
    st.bind(3, static_cast<long long>(now)).run();
}

void Store::clearFailedLogins(const std::string& username)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "DELETE FROM failed_logins WHERE username = ?");
    st.bindText(1, username).run();
}

void Store::setVerifyCode(const std::string& cookie, const std::string& code, std::time_t expires)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement purge(m_db, "DELETE FROM verify_codes WHERE expires < ?");
    purge.bind(1, static_cast<long long>(expires - 3600)).run();
    Statement st(m_db,
                 "INSERT OR REPLACE INTO verify_codes(cookie, code, expires) VALUES(?, ?, ?)");
    st.bindText(1, cookie).bindText(2, code).bind(3, static_cast<long long>(expires)).run();
}

std::string Store::takeVerifyCode(const std::string& cookie, std::time_t now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "SELECT code, expires FROM verify_codes WHERE cookie = ?");
    st.bindText(1, cookie);
    if (!st.row())
        return {};
    std::string code = st.text(0);
    const bool valid = st.integer(1) >= now;
    Statement del(m_db, "DELETE FROM verify_codes WHERE cookie = ?");
    del.bindText(1, cookie).run();
    return valid ? code : std::string();
}

std::string Store::peekVerifyCode(const std::string& cookie)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "SELECT code FROM verify_codes WHERE cookie = ?");
    st.bindText(1, cookie);
    return st.row() ? st.text(0) : std::string();
}

bool Store::createSession(const std::string& accessKey, int uid, std::time_t expires)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement purge(m_db, "DELETE FROM sessions WHERE expires < ?");
    purge.bind(1, static_cast<long long>(std::time(nullptr) - 86400)).run();
    Statement st(m_db, "INSERT INTO sessions(accesskey, uid, expires) VALUES(?, ?, ?)");
    st.bindText(1, accessKey).bind(2, uid).bind(3, static_cast<long long>(expires));
    return st.run();
}

std::optional<int> Store::sessionUid(const std::string& accessKey, std::time_t now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "SELECT uid FROM sessions WHERE accesskey = ? AND expires > ?");
    st.bindText(1, accessKey).bind(2, static_cast<long long>(now));
    if (!st.row())
        return std::nullopt;
    return static_cast<int>(st.integer(0));
}

std::vector<std::string> Store::readWatchList(int uid)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> codes;
    Statement st(m_db, "SELECT code FROM watchlist WHERE uid = ? ORDER BY pos");
    st.bind(1, uid);
    while (st.row())
        codes.push_back(st.text(0));
    return codes;
}

bool Store::replaceWatchList(int uid, const std::vector<std::string>& codes)
{
    if (!exec("BEGIN IMMEDIATE"))
        return false;
    bool ok = Statement(m_db, "DELETE FROM watchlist WHERE uid = ?").bind(1, uid).run();
    for (std::size_t i = 0; ok && i < codes.size(); ++i) {
        Statement st(m_db, "INSERT INTO watchlist(uid, pos, code) VALUES(?, ?, ?)");
        ok = st.bind(1, uid).bind(2, static_cast<long long>(i)).bindText(3, codes[i]).run();
    }
    if (ok && exec("COMMIT"))
        return true;
    exec("ROLLBACK");
    return false;
}

bool Store::writeWatchList(int uid, const std::vector<std::string>& codes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return replaceWatchList(uid, codes);
}

bool Store::deleteFromWatchList(int uid, const std::vector<std::string>& codes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> kept;
    Statement st(m_db, "SELECT code FROM watchlist WHERE uid = ? ORDER BY pos");
    st.bind(1, uid);
    while (st.row()) {
        std::string code = st.text(0);
        if (std::find(codes.begin(), codes.end(), code) == codes.end())
            kept.push_back(std::move(code));
    }
    return replaceWatchList(uid, kept);
}

bool Store::addUsageRecord(int table, const std::string& record, const std::string& peer,
                           std::time_t now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Statement st(m_db, "INSERT INTO usage_log(tbl, record, peer, received) VALUES(?, ?, ?, ?)");
    st.bind(1, table).bindText(2, record).bindText(3, peer);
    if (!st.bind(4, static_cast<long long>(now)).run())
        return false;
    // Only the latest records are of interest; keep the file from growing without end.
    Statement trim(m_db, "DELETE FROM usage_log WHERE id <= (SELECT MAX(id) FROM usage_log) - ?");
    return trim.bind(1, 10000).run();
}

std::vector<UsageRecord> Store::latestUsageRecords(int count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<UsageRecord> out;
    Statement st(m_db,
                 "SELECT tbl, record, peer, received FROM usage_log ORDER BY id DESC LIMIT ?");
    st.bind(1, count);
    while (st.row()) {
        UsageRecord r;
        r.table = static_cast<int>(st.integer(0));
        r.record = st.text(1);
        r.peer = st.text(2);
        r.received = st.integer(3);
        out.push_back(std::move(r));
    }
    return out;
}
