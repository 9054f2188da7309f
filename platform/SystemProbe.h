#pragma once

#include <string>

// Facts about this machine for the usage log. Each probe returns its text; the paths are
// parameters so tests can point them at prepared files.
namespace SystemProbe {

// The hardware address of the non-loopback network interface with the highest index, as
// "xx-xx-xx-xx-xx-xx" (lower-case hexadecimal, first six bytes); "error" when there is none.
std::string NetworkAddress(const std::string& sysClassNet = "/sys/class/net");

// PRETTY_NAME of os-release; empty when it cannot be read.
std::string OsName(const std::string& osRelease = "/etc/os-release");

// The first "model name" of cpuinfo; "error" when there is none.
std::string ProcessorName(const std::string& cpuinfo = "/proc/cpuinfo");

// Total physical memory in whole mebibytes followed by "M".
std::string Memory();

} // namespace SystemProbe
