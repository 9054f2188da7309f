#include "client/api/LoginState.h"

#include <mutex>

namespace {

std::mutex& stateMutex()
{
    static std::mutex m;
    return m;
}

LoginSnapshot& state()
{
    static LoginSnapshot s;
    return s;
}

template <typename F> auto locked(F f)
{
    std::lock_guard<std::mutex> lock(stateMutex());
    return f(state());
}

} // namespace

void SetLoginUser(const std::string& user, const std::string& /*password*/)
{
    locked([&](LoginSnapshot& s) { s.LoginUser = user; });
}

std::string GetLoginUser()
{
    return locked([](LoginSnapshot& s) { return s.LoginUser; });
}

void ClearLogin()
{
    locked([](LoginSnapshot& s) {
        s.LoginUser.clear();
        s.AccessKey.clear();
        s.UserId = 0;
    });
}

std::string GetAccessKey()
{
    return locked([](LoginSnapshot& s) { return s.AccessKey; });
}

int GetUserId()
{
    return locked([](LoginSnapshot& s) { return s.UserId; });
}

std::string GetSessionCookie()
{
    return locked([](LoginSnapshot& s) { return s.SessionCookie; });
}

bool GetShowAdFlag()
{
    return locked([](LoginSnapshot& s) { return s.ShowAdFlag; });
}

LoginSnapshot GetLoginSnapshot()
{
    return locked([](LoginSnapshot& s) { return s; });
}

void SetAccessKey(const std::string& key)
{
    locked([&](LoginSnapshot& s) { s.AccessKey = key; });
}

void SetUserId(int id)
{
    locked([&](LoginSnapshot& s) { s.UserId = id; });
}

void SetSessionCookie(const std::string& cookie)
{
    locked([&](LoginSnapshot& s) { s.SessionCookie = cookie; });
}

void SetShowAdFlag(bool show)
{
    locked([&](LoginSnapshot& s) { s.ShowAdFlag = show; });
}
