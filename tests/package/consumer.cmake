# cmake -DVORNIX_SOURCE=... -DEXAMPLE_SOURCE=... -DCONSUMER_BUILD=...
#       -DTOOLCHAIN=... -DOBJDUMP=... -P consumer.cmake
# Builds tests/package/consumer, which adds Vornix with add_subdirectory,
# with its own Windows version under -Werror, and checks what the program
# got and gives: the third-party DLL and the compiler's runtime imported
# (nothing of ours made its link static), and an installation of its own
# with nothing of Vornix in it.
include(${CMAKE_CURRENT_LIST_DIR}/steps.cmake)

file(REMOVE_RECURSE ${CONSUMER_BUILD})
# Unoptimised: what is checked is how it builds, not how fast it runs.
run_step(${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/consumer -B ${CONSUMER_BUILD} -G Ninja -DCMAKE_BUILD_TYPE=
         -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} "-DCMAKE_CXX_FLAGS=-D_WIN32_WINNT=0x0A00 -Werror"
         -DVORNIX_SOURCE=${VORNIX_SOURCE} -DEXAMPLE_SOURCE=${EXAMPLE_SOURCE})
run_step(${CMAKE_COMMAND} --build ${CONSUMER_BUILD})

run_step(${OBJDUMP} -p ${CONSUMER_BUILD}/HelloControls.exe)
foreach(dll IN ITEMS greeting.dll libstdc++-6.dll)
  string(FIND "${step_output}" "DLL Name: ${dll}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "HelloControls.exe does not import ${dll}:\n${step_output}")
  endif()
endforeach()

run_step(${CMAKE_COMMAND} --install ${CONSUMER_BUILD} --prefix ${CONSUMER_BUILD}/installed)
file(GLOB_RECURSE installed RELATIVE ${CONSUMER_BUILD}/installed ${CONSUMER_BUILD}/installed/*)
list(SORT installed)
if(NOT installed STREQUAL "bin/HelloControls.exe;bin/greeting.dll;lib/libgreeting.dll.a")
  message(FATAL_ERROR "The program's installation holds more than its own files: ${installed}")
endif()
