meridex_fuzzer(fuzz_intake SOURCES intake_fuzzer.cpp LIBS meridex_alerts)
