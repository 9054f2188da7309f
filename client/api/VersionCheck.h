#pragma once

#include "client/api/ApiContext.h"

#include <functional>
#include <string>

// The number a version text stands for in one of the two comparisons: its first three
// characters (`last` false) or its last three (`last` true), read as a decimal number
// (0 when they do not start one). A text shorter than three characters is taken whole.
float VersionValue(const std::string& version, bool last);

// 1 when `latest` is newer than `installed`, else 0. The first three characters decide; when
// they read equal, the last three do. `installedValue` and `latestValue` receive the values
// of the deciding comparison.
int CompareVersions(const std::string& installed, const std::string& latest, float& installedValue,
                    float& latestValue);

// 0 no update (or the check failed), 1 a newer version exists (the outs hold the deciding
// values), 3 the installed version number is missing: `showMessage` has then been called
// with the text for the user.
int CheckVersion(float& installedValue, float& latestValue,
                 const std::function<void(const std::string&)>& showMessage,
                 const ApiContext& ctx = DefaultApiContext());
