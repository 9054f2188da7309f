#include "platform/WindowsOsName.h"

std::string WindowsOsName(int major, int minor, bool ntPlatform, bool workstation, bool x64,
                          bool r2)
{
    switch (major) {
    case 4:
        if (minor == 0)
            return ntPlatform ? "Microsoft Windows NT 4.0" : "Microsoft Windows 95";
        if (minor == 10)
            return "Microsoft Windows 98";
        if (minor == 90)
            return "Microsoft Windows Me";
        return std::string();
    case 5:
        if (minor == 0)
            return "Microsoft Windows 2000";
        if (minor == 1)
            return "Microsoft Windows XP";
        if (minor == 2) {
            if (workstation && x64)
                return "Microsoft Windows XP Professional x64 Edition";
            return r2 ? "Microsoft Windows Server 2003 R2" : "Microsoft Windows Server 2003";
        }
        return std::string();
    case 6:
        if (minor == 0)
            return workstation ? "Microsoft Windows Vista" : "Microsoft Windows Server 2008";
        if (minor == 1)
            return workstation ? "Microsoft Windows 7" : "Microsoft Windows Server 2008 R2";
        return std::string();
    default:
        return "UnKnown";
    }
}
