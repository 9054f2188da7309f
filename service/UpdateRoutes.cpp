#include "service/HttpHelpers.h"
#include "service/UpdateChannel.h"
#include "service/WebService.h"

#include <httplib.h>

#include <filesystem>

namespace {

// The host the client reached us by, so that packet addresses work for it; only plain host
// and port characters are taken from the request.
std::string OwnHost(const WebService& service, const httplib::Request& req)
{
    const std::string host = req.get_header_value("Host");
    if (!host.empty() && host.size() < 256 &&
        host.find_first_not_of(
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:[]") ==
            std::string::npos)
        return host;
    return service.config().bind + ":" + std::to_string(service.port());
}

std::string Packet(const WebService& service)
{
    return UpdateChannel::PacketBytes(service.filesPath("data/update/setup.sh.in"),
                                      service.config().latestVersion);
}

} // namespace

void RegisterUpdateRoutes(httplib::Server& server, WebService& service)
{
    server.Get("/soft/Update/Update.exe", [&service](const httplib::Request&,
                                                     httplib::Response& res) {
        const std::string& path = service.config().updaterPath;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec) ||
            !ReplyFile(res, path, "application/octet-stream")) {
            res.status = 404;
            res.set_content("404 Not Found: this service has no updater program (" + path + ")\n",
                            "text/plain; charset=utf-8");
        }
    });
    server.Get(R"(/soft/Update/([0-9][0-9.]{0,15})\.ini)", [&service](const httplib::Request& req,
                                                                      httplib::Response& res) {
        const std::string packet = Packet(service);
        if (packet.empty()) {
            res.status = 500;
            return;
        }
        const std::string latest = service.config().latestVersion;
        const std::string url = "http://" + OwnHost(service, req) + "/soft/Update/packets/" +
                                UpdateChannel::PacketName(latest);
        res.set_content(UpdateChannel::UpdateList(req.matches[1], latest, url, packet),
                        "text/plain; charset=gb18030");
    });
    server.Get(R"(/soft/Update/packets/([A-Za-z0-9.-]{1,64}))",
               [&service](const httplib::Request& req, httplib::Response& res) {
                   const std::string packet = Packet(service);
                   if (req.matches[1] !=
                           UpdateChannel::PacketName(service.config().latestVersion) ||
                       packet.empty()) {
                       res.status = 404;
                       return;
                   }
                   res.set_content(packet, "application/octet-stream");
               });
}
