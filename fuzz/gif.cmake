# The GIF block walker is plain C++, so it is compiled in directly: the fuzz build leaves
# the Qt modules out.
meridex_fuzzer(fuzz_gif SOURCES gif_fuzzer.cpp ${CMAKE_SOURCE_DIR}/controls/GifWalker.cpp)
