meridex_fuzzer(fuzz_ini SOURCES ini_fuzzer.cpp LIBS meridex_model)
