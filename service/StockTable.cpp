#include "service/StockTable.h"

#include "client/model/AtomicFile.h"

#include <sqlite3.h>

#include <cstdio>
#include <sstream>
#include <unistd.h>

namespace {

bool IsSixDigits(const std::string& s)
{
    if (s.size() != 6)
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::vector<std::string> SplitCsvLine(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    for (char c : line) {
        if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

bool Exec(sqlite3* db, const char* sql, std::string& error)
{
    char* msg = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &msg) != SQLITE_OK) {
        error = msg ? msg : "sqlite error";
        sqlite3_free(msg);
        return false;
    }
    return true;
}

} // namespace

double StockInfo::limitFraction() const
{
    if (isIndex)
        return 0.0;
    if (name.find("ST") != std::string::npos)
        return 0.05;
    const std::string p3 = code.substr(0, 3);
    if (p3 == "300" || p3 == "301" || p3 == "688" || p3 == "689")
        return 0.20;
    if (board == "北交所" || code[0] == '8' || code[0] == '4' || code.compare(0, 2, "92") == 0)
        return 0.30;
    return 0.10;
}

bool StockTable::load(const std::string& csvPath, std::string& error)
{
    std::string text;
    if (!ReadWholeFile(csvPath, text)) {
        error = "cannot read " + csvPath;
        return false;
    }
    m_stocks.clear();
    m_byKey.clear();
    std::istringstream in(text);
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (header) {
            header = false;
            continue;
        }
        const auto f = SplitCsvLine(line);
        if (f.size() < 6 || !IsSixDigits(f[0]) || f[1].empty())
            continue;
        StockInfo s;
        s.code = f[0];
        s.name = f[1];
        s.spell = f[2];
        s.board = f[3];
        s.isIndex = f[5] == "index";
        if (m_byKey.count(s.key()))
            continue;
        m_byKey.emplace(s.key(), m_stocks.size());
        m_stocks.push_back(std::move(s));
    }
    if (m_stocks.empty()) {
        error = "no stocks in " + csvPath;
        return false;
    }
    return true;
}

const StockInfo* StockTable::find(const std::string& key) const
{
    const auto it = m_byKey.find(key);
    return it == m_byKey.end() ? nullptr : &m_stocks[it->second];
}

bool BuildStockDatabase(const StockTable& table, const std::string& dbPath, std::string& error)
{
    const std::string tmp = dbPath + ".building." + std::to_string(::getpid());
    std::remove(tmp.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open(tmp.c_str(), &db) != SQLITE_OK) {
        error = db ? sqlite3_errmsg(db) : "cannot open database";
        sqlite3_close(db);
        return false;
    }
    // LIKE is case-insensitive by default, which rules out plain indexes for prefix search;
    // NOCASE columns let SQLite turn "x LIKE 'abc%'" into an index range.
    bool ok = Exec(db,
                   "PRAGMA journal_mode=DELETE;"
                   "CREATE TABLE stockname(codename TEXT NOT NULL COLLATE NOCASE,"
                   " spell TEXT NOT NULL COLLATE NOCASE, code TEXT NOT NULL COLLATE NOCASE,"
                   " name TEXT NOT NULL COLLATE NOCASE);"
                   "BEGIN;",
                   error);
    sqlite3_stmt* insert = nullptr;
    if (ok && sqlite3_prepare_v2(db, "INSERT INTO stockname VALUES(?,?,?,?)", -1, &insert,
                                 nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
        ok = false;
    }
    for (const StockInfo& s : table.all()) {
        if (!ok)
            break;
        const std::string codename = s.code + " " + s.name;
        sqlite3_bind_text(insert, 1, codename.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, s.spell.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, s.code.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, s.name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            error = sqlite3_errmsg(db);
            ok = false;
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && Exec(db,
                    "COMMIT;"
                    "CREATE INDEX stockname_code ON stockname(code);"
                    "CREATE INDEX stockname_spell ON stockname(spell);"
                    "CREATE INDEX stockname_name ON stockname(name);"
                    "CREATE INDEX stockname_codename ON stockname(codename);"
                    "ANALYZE;",
                    error);
    if (sqlite3_close(db) != SQLITE_OK && ok) {
        error = "cannot close database";
        ok = false;
    }
    if (ok && std::rename(tmp.c_str(), dbPath.c_str()) != 0) {
        error = "cannot put " + dbPath + " in place";
        ok = false;
    }
    if (!ok)
        std::remove(tmp.c_str());
    return ok;
}
