#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// One row of the stock reference list.
struct StockInfo
{
    std::string code; // six digits
    std::string name; // UTF-8
    std::string spell;
    std::string board;
    bool isIndex = false;

    // The key the watch list and the quote line use: indexes carry an "i" before their code.
    std::string key() const { return isIndex ? "i" + code : code; }
    // Daily price limit as a fraction of the previous close; 0 for indexes.
    double limitFraction() const;
};

// The stocks and indexes the service knows, loaded from the reference CSV
// (code,name,spell,board,exchange,kind).
class StockTable
{
public:
    // False with `error` set when the file cannot be read or holds no valid row. Malformed
    // rows are skipped.
    bool load(const std::string& csvPath, std::string& error);

    const std::vector<StockInfo>& all() const { return m_stocks; }
    // By key ("600000", "i000001"); nullptr when unknown.
    const StockInfo* find(const std::string& key) const;

private:
    std::vector<StockInfo> m_stocks;
    std::unordered_map<std::string, std::size_t> m_byKey;
};

// Writes the search database (table stockname: codename, spell, code, name, with prefix
// indexes) to `dbPath`, replacing any old file only once the new one is complete.
bool BuildStockDatabase(const StockTable& table, const std::string& dbPath, std::string& error);
