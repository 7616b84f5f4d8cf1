# Runs one fuzz target for SECONDS from its committed corpus CORPUS. New inputs go to a fresh
# directory under WORK (the first corpus directory is the one libFuzzer writes to), and so do
# crash reproducers, so the committed corpus never changes. Fails when the fuzzer finds a crash
# or a broken property.
#   cmake -DFUZZER=... -DCORPUS=... -DWORK=... -DSECONDS=... -P RunFuzzer.cmake
foreach(var FUZZER CORPUS WORK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "RunFuzzer.cmake needs -D${var}=...")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/found)
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=25 -print_final_stats=1 -artifact_prefix=${WORK}/
          ${WORK}/found ${CORPUS}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input that broke it is in ${WORK}")
endif()
