#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <tuple>

typedef void CURL;

// The process's cookies, in memory only. Each call copies them into its own handle before
// the exchange and merges the handle's cookies back afterwards, so concurrent calls never
// share libcurl's cookie engine.
class CookieStore
{
public:
    // domain, path, name: one cookie
    using Key = std::tuple<std::string, std::string, std::string>;
    using Loaded = std::set<Key>;

    static CookieStore& instance();

    // Turns on the handle's cookie engine and fills it with the stored cookies; the result
    // names what was loaded, for takeFrom.
    Loaded loadInto(CURL* handle) const;
    // Takes over what the exchange set or changed, and drops loaded cookies that the
    // handle no longer holds (expired or removed by the server). Cookies that another
    // thread stored meanwhile are kept.
    void takeFrom(CURL* handle, const Loaded& loaded);

    void clear();
    std::size_t size() const;

private:
    mutable std::mutex m_mutex;
    std::map<Key, std::string> m_lines; // Netscape cookie-file lines
};
