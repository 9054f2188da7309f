# Alert sounds: libsndfile decodes, ALSA plays, one worker thread keeps them in order.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(MERIDEX_SOUND REQUIRED IMPORTED_TARGET alsa sndfile)
list(APPEND platform_sources SoundFile.cpp SoundPlayer.cpp)
list(APPEND platform_libs PkgConfig::MERIDEX_SOUND Threads::Threads)
