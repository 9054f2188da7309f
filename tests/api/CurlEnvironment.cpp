// libcurl's global set-up for the whole test run, as a program's main() does it.
#include "client/api/CurlGlobal.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class CurlEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { m_curl = std::make_unique<CurlGlobal>(); }
    void TearDown() override { m_curl.reset(); }

private:
    std::unique_ptr<CurlGlobal> m_curl;
};

const auto* const kCurl = ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

} // namespace
