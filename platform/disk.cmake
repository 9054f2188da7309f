# Free space of a file system (statvfs).
list(APPEND platform_sources disk/DiskSpace.cpp)
