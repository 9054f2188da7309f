#pragma once

#include "tests/model/TempFolder.h"

#include <httplib.h>

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

// The real service started as a child process on a free port with a fresh data folder.
class ServiceProcess
{
public:
    explicit ServiceProcess(std::vector<std::string> extraArgs = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    bool running() const { return m_port > 0; }
    int port() const { return m_port; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    const TempFolder& folder() const { return m_folder; }
    std::unique_ptr<httplib::Client> client() const;

    // Sends SIGTERM and waits; the exit status, or -1 when it had to be killed.
    int stop();

private:
    TempFolder m_folder;
    pid_t m_pid = -1;
    int m_port = 0;
};

// POST without a body, as the client sends its API calls.
httplib::Result PostEmpty(httplib::Client& client, const std::string& path,
                          const httplib::Headers& headers = {});

// Sends `request` as it stands over a fresh connection and reads until the server closes it.
std::string RawExchange(int port, const std::string& request);
