#pragma once

#include <string>

// The demo update channel: one self-contained installer packet for the latest version and
// the update list that leads every installed version to it.
namespace UpdateChannel {

// File name of the packet of a version: "MERIDEX-<version>-setup.sh".
std::string PacketName(const std::string& version);
// The packet script built from its template; empty when the template cannot be read.
std::string PacketBytes(const std::string& templatePath, const std::string& version);
// The update list (INI text in the local code page) for an installed version, naming the
// packet at `packetUrl`, its size and SHA-256, and the settings the updater carries over.
std::string UpdateList(const std::string& installedVersion, const std::string& latestVersion,
                       const std::string& packetUrl, const std::string& packet);
// The version file: section Version, key num.
std::string VersionFile(const std::string& latestVersion);

} // namespace UpdateChannel
