#include "service/UpdateChannel.h"

#include "client/model/AtomicFile.h"
#include "client/model/IniText.h"
#include "client/model/LocalText.h"
#include "service/PasswordHash.h"

namespace UpdateChannel {

std::string PacketName(const std::string& version)
{
    return "MERIDEX-" + version + "-setup.sh";
}

std::string PacketBytes(const std::string& templatePath, const std::string& version)
{
    std::string text;
    if (!ReadWholeFile(templatePath, text))
        return {};
    const std::string marker = "@VERSION@";
    for (std::size_t pos = text.find(marker); pos != std::string::npos;
         pos = text.find(marker, pos + version.size()))
        text.replace(pos, marker.size(), version);
    return text;
}

std::string UpdateList(const std::string& installedVersion, const std::string& latestVersion,
                       const std::string& packetUrl, const std::string& packet)
{
    const std::string size = std::to_string(packet.size());
    IniText ini("");
    ini.set("info", "size", size);
    ini.set("info", "way", "2");
    ini.set("UpdatePacket", "version1", Utf8ToLocal(installedVersion));
    ini.set("UpdatePacket", "path1", Utf8ToLocal(packetUrl));
    ini.set("UpdatePacket", "size1", size);
    ini.set("UpdatePacket", "sha2561", PasswordHash::Sha256Hex(packet));
    ini.set("update_int", "value", "Version#num");
    ini.set("Version", "num", Utf8ToLocal(latestVersion));
    return ini.serialize();
}

std::string VersionFile(const std::string& latestVersion)
{
    IniText ini("");
    ini.set("Version", "num", Utf8ToLocal(latestVersion));
    return ini.serialize();
}

} // namespace UpdateChannel
