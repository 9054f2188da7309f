#pragma once

#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

struct Account
{
    int uid = 0;
    std::string username;
    std::string salt;
    std::string hash;
    int iterations = 0;
    bool showAd = false;
};

struct UsageRecord
{
    int table = 0;
    std::string record;
    std::string peer;
    std::time_t received = 0;
};

// The service's own records in one SQLite file (WAL): accounts, access keys, verification
// codes, failed-login counters, watch lists and usage-log records. One connection behind a
// mutex: every operation is short, and a single writer never meets SQLITE_BUSY inside the
// process; the busy timeout covers other processes reading the file.
class Store
{
public:
    Store() = default;
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    bool open(const std::string& path, std::string& error);

    std::optional<Account> findAccount(const std::string& username);
    std::optional<Account> accountById(int uid);
    // The new uid; 0 when the name is taken or the write failed.
    int createAccount(const std::string& username, const std::string& password, bool showAd);
    bool setShowAd(const std::string& username, bool showAd);

    int failedLogins(const std::string& username);
    void addFailedLogin(const std::string& username, std::time_t now);
    void clearFailedLogins(const std::string& username);

    void setVerifyCode(const std::string& cookie, const std::string& code, std::time_t expires);
    // The code issued to this cookie, removed so that it serves one attempt only; empty when
    // none or expired.
    std::string takeVerifyCode(const std::string& cookie, std::time_t now);

    // The code issued to this cookie without using it up (for the loopback test interface).
    std::string peekVerifyCode(const std::string& cookie);

    bool createSession(const std::string& accessKey, int uid, std::time_t expires);
    // The uid of a valid, unexpired access key.
    std::optional<int> sessionUid(const std::string& accessKey, std::time_t now);

    std::vector<std::string> readWatchList(int uid);
    bool writeWatchList(int uid, const std::vector<std::string>& codes);
    bool deleteFromWatchList(int uid, const std::vector<std::string>& codes);

    bool addUsageRecord(int table, const std::string& record, const std::string& peer,
                        std::time_t now);
    std::vector<UsageRecord> latestUsageRecords(int count);

private:
    class Statement;
    bool exec(const char* sql);
    static std::optional<Account> firstAccount(Statement& st);
    bool replaceWatchList(int uid, const std::vector<std::string>& codes);

    std::mutex m_mutex;
    sqlite3* m_db = nullptr;
};
