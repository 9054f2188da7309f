meridex_bench(bench_alerts SOURCES AlertsBench.cpp LIBS meridex_alerts)
