# Runs meridex-replay on the sample day and compares what it prints with the expected alerts.
execute_process(
  COMMAND ${REPLAY} --stats --date 2026-03-09 ${SAMPLE} ${SAMPLE}/day.txt
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "meridex-replay failed (${rc}): ${err}")
endif()
file(READ ${SAMPLE}/expected.txt expected)
if(NOT out STREQUAL expected)
  file(WRITE ${OUTPUT} "${out}")
  message(FATAL_ERROR "the replay printed other alerts than expected; see ${OUTPUT}\n${out}")
endif()
