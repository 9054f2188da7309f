# System probes for the usage log: network address, operating system, processor, memory.
list(APPEND platform_sources SystemProbe.cpp WindowsOsName.cpp)
