#include "client/api/ApiContext.h"

#include "client/model/IniFile.h"
#include "client/model/ProgramFolder.h"

std::string ApiContext::apiBaseUrl() const
{
    return Ini::ReadString(setIniPath(), "url", "home", "");
}

std::string ApiContext::pageBaseUrl() const
{
    return Ini::ReadString(setIniPath(), "url", "page", "");
}

ApiContext DefaultApiContext()
{
    ApiContext ctx;
    ctx.programFolder = ProgramFolder();
    return ctx;
}
