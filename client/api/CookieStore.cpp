#include "client/api/CookieStore.h"

#include <cstdlib>
#include <ctime>
#include <curl/curl.h>
#include <vector>

namespace {

// A Netscape cookie line: domain, tail match, path, secure, expiry, name, value.
// False for lines that are no cookie or whose cookie has expired (a server deletes one by
// sending it with a past expiry; the handle keeps it until its next use).
bool liveKeyOf(const std::string& line, CookieStore::Key& key)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    if (fields.size() < 7)
        return false;
    const long long expires = std::strtoll(fields[4].c_str(), nullptr, 10);
    if (expires > 0 && expires < static_cast<long long>(std::time(nullptr)))
        return false;
    key = {fields[0], fields[2], fields[5]};
    return true;
}

} // namespace

CookieStore& CookieStore::instance()
{
    static CookieStore store;
    return store;
}

CookieStore::Loaded CookieStore::loadInto(CURL* handle) const
{
    Loaded loaded;
    curl_easy_setopt(handle, CURLOPT_COOKIEFILE, "");
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& entry : m_lines) {
        curl_easy_setopt(handle, CURLOPT_COOKIELIST, entry.second.c_str());
        loaded.insert(entry.first);
    }
    return loaded;
}

void CookieStore::takeFrom(CURL* handle, const Loaded& loaded)
{
    curl_slist* list = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_COOKIELIST, &list) != CURLE_OK)
        return;
    std::map<Key, std::string> after;
    for (curl_slist* item = list; item != nullptr; item = item->next) {
        Key key;
        if (item->data != nullptr && liveKeyOf(item->data, key))
            after[key] = item->data;
    }
    curl_slist_free_all(list);

    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& key : loaded)
        if (after.count(key) == 0)
            m_lines.erase(key);
    for (auto& entry : after)
        m_lines[entry.first] = std::move(entry.second);
}

void CookieStore::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lines.clear();
}

std::size_t CookieStore::size() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lines.size();
}
