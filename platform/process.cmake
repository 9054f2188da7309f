# Process list of the current user (/proc), ending a process, starting a program detached.
list(APPEND platform_sources process/ProcessList.cpp process/ProgramStarter.cpp)
