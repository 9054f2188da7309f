#pragma once

#include <string>

// The login of this process, shared by every thread under one lock. Texts are UTF-8.
struct LoginSnapshot
{
    std::string LoginUser;
    std::string AccessKey;
    int UserId = 0;
    std::string SessionCookie;
    bool ShowAdFlag = true;
};

// Stores the user name before a login attempt; the password is not kept.
void SetLoginUser(const std::string& user, const std::string& password);
std::string GetLoginUser();
// Logs out: user name and access key empty, user id 0. The session cookie and the
// advertisement flag stay.
void ClearLogin();

std::string GetAccessKey();
int GetUserId();
std::string GetSessionCookie();
bool GetShowAdFlag();
LoginSnapshot GetLoginSnapshot();

void SetAccessKey(const std::string& key);
void SetUserId(int id);
void SetSessionCookie(const std::string& cookie);
void SetShowAdFlag(bool show);
