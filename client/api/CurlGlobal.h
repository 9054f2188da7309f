#pragma once

// libcurl's process-wide set-up, done once in main() before any thread starts and undone
// after the last one ended. Programs and test mains hold one for their whole run.
class CurlGlobal
{
public:
    CurlGlobal();
    ~CurlGlobal();
    CurlGlobal(const CurlGlobal&) = delete;
    CurlGlobal& operator=(const CurlGlobal&) = delete;

    bool ok() const { return m_ok; }

private:
    bool m_ok;
};
