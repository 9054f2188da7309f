#pragma once

#include "client/api/ApiContext.h"

// 1 when the API server answers at all (any HTTP status), 0 when it cannot be reached.
int TestServer(const ApiContext& ctx = DefaultApiContext());
