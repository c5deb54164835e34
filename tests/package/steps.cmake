# What the package's scripts share: run_step(COMMAND...) runs one step and
# fails at the first that fails, showing its output; the output of the last
# step is in step_output.
function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(REPLACE ";" " " shown "${ARGN}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${shown}\n${output}")
  endif()
  message(STATUS "${shown}: done")
  set(step_output "${output}" PARENT_SCOPE)
endfunction()
