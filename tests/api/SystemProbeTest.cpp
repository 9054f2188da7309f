#include "platform/SystemProbe.h"
#include "platform/WindowsOsName.h"
#include "tests/model/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

void write(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << text;
}

void adapter(const TempFolder& net, const std::string& name, int index, const char* flags,
             const std::string& address)
{
    write(net.file(name + "/ifindex"), std::to_string(index) + "\n");
    write(net.file(name + "/flags"), std::string(flags) + "\n");
    write(net.file(name + "/address"), address + "\n");
}

TEST(SystemProbe, NetworkAddressOfTheLastAdapter)
{
    TempFolder net;
    EXPECT_EQ(SystemProbe::NetworkAddress(net.file("missing")), "error");
    adapter(net, "lo", 1, "0x9", "00:00:00:00:00:00");
    EXPECT_EQ(SystemProbe::NetworkAddress(net.path()), "error") << "loopback only";
    adapter(net, "eth1", 3, "0x1003", "AA:BB:CC:00:11:22");
    adapter(net, "eth0", 2, "0x1003", "08:00:27:12:34:56");
    adapter(net, "tun0", 4, "0x1091", "");
    EXPECT_EQ(SystemProbe::NetworkAddress(net.path()), "aa-bb-cc-00-11-22");
}

TEST(SystemProbe, OsAndProcessorNames)
{
    TempFolder dir;
    write(dir.file("os-release"),
          "NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
    EXPECT_EQ(SystemProbe::OsName(dir.file("os-release")), "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(SystemProbe::OsName(dir.file("none")), "");

    write(dir.file("cpuinfo"), "processor\t: 0\nvendor_id\t: GenuineIntel\n"
                               "model name\t: Intel(R) Xeon(R) CPU @ 2.20GHz\n\nprocessor\t: 1\n"
                               "model name\t: second\n");
    EXPECT_EQ(SystemProbe::ProcessorName(dir.file("cpuinfo")), "Intel(R) Xeon(R) CPU @ 2.20GHz");
    write(dir.file("arm"), "processor\t: 0\nBogoMIPS\t: 50.00\n");
    EXPECT_EQ(SystemProbe::ProcessorName(dir.file("arm")), "error");

    const std::string memory = SystemProbe::Memory();
    ASSERT_GE(memory.size(), 2u);
    EXPECT_EQ(memory.back(), 'M');
    EXPECT_GT(std::stol(memory), 0);
}

TEST(WindowsOsName, Table)
{
    struct Case
    {
        int major, minor;
        bool nt, workstation, x64, r2;
        const char* name;
    };
    const Case cases[] = {
        {4, 0, true, true, false, false, "Microsoft Windows NT 4.0"},
        {4, 0, false, true, false, false, "Microsoft Windows 95"},
        {4, 10, false, true, false, false, "Microsoft Windows 98"},
        {4, 90, false, true, false, false, "Microsoft Windows Me"},
        {5, 0, true, true, false, false, "Microsoft Windows 2000"},
        {5, 1, true, true, false, false, "Microsoft Windows XP"},
        {5, 2, true, true, true, false, "Microsoft Windows XP Professional x64 Edition"},
        {5, 2, true, false, true, false, "Microsoft Windows Server 2003"},
        {5, 2, true, false, false, true, "Microsoft Windows Server 2003 R2"},
        {6, 0, true, true, false, false, "Microsoft Windows Vista"},
        {6, 0, true, false, false, false, "Microsoft Windows Server 2008"},
        {6, 1, true, true, true, false, "Microsoft Windows 7"},
        {6, 1, true, false, true, false, "Microsoft Windows Server 2008 R2"},
        {6, 2, true, true, true, false, ""},
        {4, 3, true, true, false, false, ""},
        {10, 0, true, true, true, false, "UnKnown"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowsOsName(c.major, c.minor, c.nt, c.workstation, c.x64, c.r2), c.name)
            << c.major << "." << c.minor;
}

} // namespace
