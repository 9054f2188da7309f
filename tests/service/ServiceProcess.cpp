#include "ServiceProcess.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

ServiceProcess::ServiceProcess(std::vector<std::string> extraArgs)
{
    int out[2];
    if (::pipe(out) != 0)
        return;
    std::vector<std::string> args = {MERIDEX_SERVICE_BIN, "--port", "0", "--data",
                                     m_folder.file("data")};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    const std::string log = m_folder.file("service.log");
    m_pid = ::fork();
    if (m_pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        const int err = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (err >= 0)
            ::dup2(err, STDERR_FILENO);
        ::close(out[0]);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    // The first line names the port: "listening on http://127.0.0.1:PORT".
    std::string line;
    pollfd pfd{out[0], POLLIN, 0};
    while (line.find('\n') == std::string::npos && ::poll(&pfd, 1, 60000) > 0) {
        char buf[256];
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0)
            break;
        line.append(buf, static_cast<std::size_t>(n));
    }
    ::close(out[0]);
    const std::size_t colon = line.rfind(':');
    if (line.rfind("listening on http://", 0) == 0 && colon != std::string::npos)
        m_port = std::atoi(line.c_str() + colon + 1);
}

ServiceProcess::~ServiceProcess()
{
    stop();
}

std::unique_ptr<httplib::Client> ServiceProcess::client() const
{
    auto c = std::make_unique<httplib::Client>("127.0.0.1", m_port);
    c->set_connection_timeout(5);
    c->set_read_timeout(30);
    return c;
}

int ServiceProcess::stop()
{
    if (m_pid <= 0)
        return -1;
    ::kill(m_pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 300; ++i) {
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        ::usleep(100 * 1000);
    }
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, &status, 0);
    m_pid = -1;
    return -1;
}

httplib::Result PostEmpty(httplib::Client& client, const std::string& path,
                          const httplib::Headers& headers)
{
    return client.Post(path.c_str(), headers, "", 0, "application/x-www-form-urlencoded");
}

std::string RawExchange(int port, const std::string& request)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::string reply;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
        pollfd pfd{fd, POLLIN, 0};
        char buf[4096];
        while (::poll(&pfd, 1, 30000) > 0) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            reply.append(buf, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return reply;
}
