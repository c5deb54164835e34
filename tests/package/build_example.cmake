# cmake -DBUILD_DIR=... -DPREFIX=... -DEXAMPLE_SOURCE=... -DEXAMPLE_BUILD=...
#       -DTOOLCHAIN=... -P build_example.cmake
# Installs the project built in BUILD_DIR into PREFIX, then configures and
# builds the example against that installation; fails at the first step
# that fails, showing its output.
function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  string(REPLACE ";" " " shown "${ARGN}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${shown}\n${output}")
  endif()
  message(STATUS "${shown}: done")
endfunction()

file(REMOVE_RECURSE ${PREFIX} ${EXAMPLE_BUILD})
run_step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
run_step(${CMAKE_COMMAND} -S ${EXAMPLE_SOURCE} -B ${EXAMPLE_BUILD} -G Ninja -DCMAKE_BUILD_TYPE=Release
         -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_PREFIX_PATH=${PREFIX})
run_step(${CMAKE_COMMAND} --build ${EXAMPLE_BUILD})
