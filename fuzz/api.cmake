meridex_fuzzer(fuzz_api SOURCES api_fuzzer.cpp LIBS meridex_api)
