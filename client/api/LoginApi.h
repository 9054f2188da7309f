#pragma once

#include "client/api/ApiContext.h"

#include <functional>
#include <string>

// Logs in. 1 logged in (access key and user id stored), 2 the server wants a verification
// code, 0 failed. `error` receives the text for the user when there is one and is left
// unchanged otherwise. Texts are UTF-8.
int ApiLogin(const std::string& user, const std::string& password, const std::string& code,
             std::string& error, const ApiContext& ctx = DefaultApiContext());

// Refreshes the stored user id; a failed exchange changes nothing.
void ApiGetUserInfo(const ApiContext& ctx = DefaultApiContext());

// Refreshes the advertisement flag and returns the user id with the access key and the flag;
// -1 when the server cannot be reached (the outs are then left alone).
int ApiGetAdFlag(std::string& accessKey, bool& showAd, const ApiContext& ctx = DefaultApiContext());

// How a verification-code download ended, for the login dialog.
struct CodeImageResult
{
    enum class Outcome
    {
        Ready,        // the new image is in place at `path`
        NetworkError, // show `message` (the network layer's text)
        WriteError,   // show `message` with the error icon
        NotOk,        // the server refused; nothing to show
        Incomplete    // fewer bytes than announced arrived; the old image stays
    };
    Outcome outcome = Outcome::NotOk;
    std::string message;
    std::string path;
};

// Downloads the verification-code image to "skin/code.png" below the program folder,
// replacing it only once the body is complete, and renews the session cookie. Runs on the
// caller's thread; `done` is called with the outcome before returning.
CodeImageResult FetchVerificationCode(const std::function<void(const CodeImageResult&)>& done,
                                      const ApiContext& ctx = DefaultApiContext());
