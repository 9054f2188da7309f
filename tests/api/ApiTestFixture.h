#pragma once

#include "TestHttpServer.h"
#include "tests/model/TempFolder.h"

#include "client/api/ApiContext.h"
#include "client/api/CookieStore.h"
#include "client/api/LoginState.h"
#include "client/model/IniFile.h"

#include <filesystem>
#include <gtest/gtest.h>

// A program folder with Set/Set.ini pointing both base URLs at an in-process server, tight
// bounds so failure paths stay quick, and a fresh login state.
class ApiTest : public ::testing::Test
{
protected:
    ApiTest()
    {
        std::filesystem::create_directories(folder.file("Set"));
        std::filesystem::create_directories(folder.file("skin"));
        setBaseUrl(server.url());
        ctx.programFolder = folder.path();
        ctx.limits.connectMs = 1000;
        ctx.limits.shortConnectMs = 1000;
        ctx.limits.exchangeMs = 1500;
        ctx.limits.usageLogMs = 1000;
        ctx.limits.lowSpeedSeconds = 1;
        ClearLogin();
        SetSessionCookie("");
        SetShowAdFlag(true);
        CookieStore::instance().clear();
    }

    void setBaseUrl(const std::string& url)
    {
        ASSERT_TRUE(Ini::WriteString(setIni(), "url", "home", url));
        ASSERT_TRUE(Ini::WriteString(setIni(), "url", "page", url));
    }
    std::string setIni() const { return folder.file("Set/Set.ini"); }
    std::string closedUrl() const
    {
        return "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort());
    }

    TempFolder folder;
    TestHttpServer server;
    ApiContext ctx;
};
