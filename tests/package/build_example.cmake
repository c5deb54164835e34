# cmake -DBUILD_DIR=... -DPREFIX=... -DEXAMPLE_SOURCE=... -DEXAMPLE_BUILD=...
#       -DTOOLCHAIN=... -DNM=... -P build_example.cmake
# Installs the project built in BUILD_DIR into PREFIX, checks that the
# installed libraries call no function of the posix-threads runtime, then
# configures and builds the example against that installation.
include(${CMAKE_CURRENT_LIST_DIR}/steps.cmake)

file(REMOVE_RECURSE ${PREFIX} ${EXAMPLE_BUILD})
run_step(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
file(GLOB_RECURSE archives ${PREFIX}/lib/*.a ${PREFIX}/lib/*.obj)
run_step(${NM} -A ${archives})
string(REGEX MATCHALL "[^\n]*pthread[^\n]*" threads "${step_output}")
if(threads)
  list(JOIN threads "\n" threads)
  message(FATAL_ERROR "The installed libraries reference the posix-threads runtime:\n${threads}")
endif()
run_step(${CMAKE_COMMAND} -S ${EXAMPLE_SOURCE} -B ${EXAMPLE_BUILD} -G Ninja -DCMAKE_BUILD_TYPE=Release
         -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_PREFIX_PATH=${PREFIX})
run_step(${CMAKE_COMMAND} --build ${EXAMPLE_BUILD})
