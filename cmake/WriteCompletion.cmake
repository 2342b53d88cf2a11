# Writes the bash completion script that quillo-cli makes from its option table:
#   cmake -DPROGRAM=path/to/quillo-cli -DOUTPUT=file -P WriteCompletion.cmake
execute_process(COMMAND ${PROGRAM} completion bash OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUTPUT})
  message(FATAL_ERROR "${PROGRAM} completion bash failed: ${status}")
endif()
