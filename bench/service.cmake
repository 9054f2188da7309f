meridex_bench(bench_service
  SOURCES service_bench.cpp
  LIBS meridex_service_lib)
target_compile_definitions(bench_service PRIVATE MERIDEX_SOURCE_DIR_TEXT="${CMAKE_SOURCE_DIR}")
