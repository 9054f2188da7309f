#pragma once

#include <optional>
#include <string>

// What each call makes of a reply body. Pure functions: no state is touched here.
namespace Replies {

// Verification code wanted: the server's codes for it.
bool WantsVerificationCode(int code);

struct LoginOutcome
{
    int result = 0;                   // 1 logged in, 2 verification code wanted, 0 failed
    std::string accessKey;            // with result 1
    std::optional<std::string> error; // the server's text for the user, when it gives one
};
LoginOutcome Login(const std::string& body);

// The user id of a reply that parses (0 when it carries none); nullopt when it does not parse.
std::optional<int> UserId(const std::string& body);

// The advertisement flag of a reply that parses (false when it carries none); nullopt when
// it does not parse.
std::optional<bool> AdFlag(const std::string& body);

// The account's watch list as "|"-joined codes; nullopt when the reply is not JSON, its
// `code` is not 200, or its list is malformed.
std::optional<std::string> WatchList(const std::string& body);

// Result of a watch-list write or delete: the first line that parses decides (`code` 200
// gives 1, anything else 0); a body in which no line parses counts as 1.
int WatchListChange(const std::string& body);

} // namespace Replies
