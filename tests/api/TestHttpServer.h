#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A real HTTP server on loopback at a free port, run in-process for one test. Routes can be
// set at any time; every request is recorded. Handlers that stall are released when the
// server goes away, so a test never waits for them.
class TestHttpServer
{
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    struct Recorded
    {
        std::string method;
        std::string path;
        std::string target; // as sent, query included and not decoded
        httplib::Params params;
        httplib::Headers headers;
    };

    TestHttpServer()
    {
        auto dispatch = [this](const httplib::Request& req, httplib::Response& res) {
            Handler handler;
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests.push_back({req.method, req.path, req.target, req.params, req.headers});
                auto it = m_routes.find(req.path);
                if (it != m_routes.end())
                    handler = it->second;
            }
            if (handler)
                handler(req, res);
            else
                res.status = 404;
        };
        m_server.Get(".*", dispatch);
        m_server.Post(".*", dispatch);
        m_port = m_server.bind_to_any_port("127.0.0.1");
        if (m_port <= 0)
            std::abort();
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    ~TestHttpServer()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_released = true;
        }
        m_release.notify_all();
        m_server.stop();
        m_thread.join();
    }

    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    int port() const { return m_port; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }

    void on(const std::string& path, Handler handler)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_routes[path] = std::move(handler);
    }

    // Answers `path` with `status` and `body`.
    void reply(const std::string& path, std::string body, int status = 200,
               httplib::Headers headers = {})
    {
        on(path, [=](const httplib::Request&, httplib::Response& res) {
            res.status = status;
            for (const auto& h : headers)
                res.set_header(h.first.c_str(), h.second);
            res.set_content(body, "text/plain");
        });
    }

    // Accepts `path` and never answers, until the server is destroyed.
    void stall(const std::string& path)
    {
        on(path, [this](const httplib::Request&, httplib::Response& res) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_release.wait_for(lock, std::chrono::seconds(60), [this] { return m_released; });
            res.status = 200;
        });
    }

    std::vector<Recorded> requests() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

    std::vector<Recorded> requestsTo(const std::string& path) const
    {
        std::vector<Recorded> out;
        for (auto& r : requests())
            if (r.path == path)
                out.push_back(r);
        return out;
    }

private:
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_release;
    bool m_released = false;
    std::map<std::string, Handler> m_routes;
    std::vector<Recorded> m_requests;
};

// A loopback port on which nothing listens: connections are refused at once.
inline int ClosedLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        std::abort();
    ::close(fd); // bound, never listening, now released
    return ntohs(addr.sin_port);
}
