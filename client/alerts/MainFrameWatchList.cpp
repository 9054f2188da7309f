// Adding and deleting watch-list entries.
#include "client/alerts/MainFrameModel.h"

#include "client/model/IniFile.h"
#include "client/model/WatchList.h"

#include <algorithm>

namespace {

const char kIndex000001[] = "i000001";
const char kShanghaiIndexName[] = "上证指数";

} // namespace

int MainFrameModel::AddStarToSelfStock(const std::string& text)
{
    std::string compact = text;
    compact.erase(std::remove(compact.begin(), compact.end(), ' '), compact.end());
    if (WatchList::CharacterCount(compact) < 6)
        return 0;

    const std::string before = m_strSelfStocks;
    std::string list = m_strSelfStocks;
    std::string entry = WatchList::FirstCharacters(compact, 6);
    bool found = false;
    if (entry == "399001" || entry == "399300") {
        entry = "i" + entry;
        found = list.find(entry) != std::string::npos;
    } else if (entry == "000001" && compact.find(kShanghaiIndexName) != std::string::npos) {
        entry = kIndex000001;
        found = list.find(entry) != std::string::npos;
    } else if (entry == "000001" && list.find(kIndex000001) != std::string::npos) {
        // The stock 000001 is a substring of the index entry: take the index out of the way
        // for the test; it comes back at the end of the list.
        WatchList::RemoveAll(list, std::string(kIndex000001) + "|");
        WatchList::RemoveAll(list, std::string("|") + kIndex000001);
        WatchList::RemoveAll(list, kIndex000001);
        found = list.find(entry) != std::string::npos;
        WatchList::Append(list, kIndex000001);
    } else {
        found = list.find(entry) != std::string::npos;
    }

    if (found) {
        SetSelfStocks(list);
        m_ports.messages.ShowMessage("请不要重复添加！");
        return 1;
    }
    WatchList::Append(list, entry);
    if (!WatchList::FitsCapacity(list)) {
        // The stored list is read back with a fixed capacity and would lose its tail.
        SetSelfStocks(before);
        m_ports.messages.ShowMessage("自选股数量已达上限，请先删除部分股票");
        return 0;
    }
    SetSelfStocks(list);
    if (!m_ports.server.ApiWriteWatchList(m_strSelfStocks)) {
        // The entry stays in memory; the next accepted change stores and sends it too.
        m_ports.messages.ShowMessage("自选股添加失败");
        return 0;
    }
    storeAndReload();
    m_ports.messages.ShowMessage("自选股添加成功！");
    return 1;
}

void MainFrameModel::DeleteSelfStock(const std::string& code)
{
    const auto it = std::find_if(m_lstSelfStocks.begin(), m_lstSelfStocks.end(),
                                 [&](const auto& stock) { return stock->strCode == code; });
    if (it == m_lstSelfStocks.end())
        return;
    Ini::DeleteSection(m_paths.warnSetIni, (*it)->strName);
    m_codes.erase((*it)->strCode);
    m_lstSelfStocks.erase(it);
    m_ports.ticker.RemoveTickerStock(code);
    RemoveFromWatchList(code);
}

int MainFrameModel::RemoveFromWatchList(const std::string& text)
{
    if (WatchList::CharacterCount(text) < 6)
        return 0;
    const std::size_t keyLength = text.find('i') != std::string::npos ? 7 : 6;
    if (!WatchList::HasEntry(m_strSelfStocks, WatchList::FirstCharacters(text, keyLength)))
        return 0;
    std::string list = m_strSelfStocks;
    WatchList::RemoveEntries(list, text);
    SetSelfStocks(list);
    if (!m_ports.server.ApiDeleteWatchList(text)) {
        m_ports.messages.ShowMessage("删除失败");
        return 0;
    }
    storeAndReload();
    return 1;
}
