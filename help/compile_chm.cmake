# Build step of the help file, run with `cmake -P` by help/CMakeLists.txt.
#
# chmcmd writes the .chm next to its project file, so the sources are staged
# in a folder of the build tree and compiled there; the source tree stays
# untouched. The staging folder is emptied first so that a page dropped from
# the sources cannot linger in the compiled file.
#
# chmcmd reports broken links, missing files and undefined anchors as
# "Warning:" or "Error:" lines but still exits with 0; such a help file would
# reach users with dead links, so either kind of line fails the build here.
#
# Expects: CHMCMD, SOURCE_DIR, SOURCES ("|"-separated file names relative to
# SOURCE_DIR), PROJECT (the .hhp file name), STAGING, OUTPUT.

foreach(variable CHMCMD SOURCE_DIR SOURCES PROJECT STAGING OUTPUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "compile_chm.cmake: ${variable} is not set")
  endif()
endforeach()

string(REPLACE "|" ";" source_list "${SOURCES}")

file(REMOVE_RECURSE "${STAGING}")
file(MAKE_DIRECTORY "${STAGING}")
foreach(source IN LISTS source_list)
  file(COPY "${SOURCE_DIR}/${source}" DESTINATION "${STAGING}")
endforeach()

get_filename_component(project_name "${PROJECT}" NAME_WE)
execute_process(
  COMMAND "${CHMCMD}" "${PROJECT}"
  WORKING_DIRECTORY "${STAGING}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)

string(STRIP "${output}" output)
if(output)
  message("${output}")
endif()

if(NOT result EQUAL 0)
  message(FATAL_ERROR "chmcmd failed (exit code ${result})")
endif()
if(output MATCHES "(^|\n)(Warning|Error):")
  message(FATAL_ERROR "chmcmd reported problems in the help sources")
endif()

set(compiled "${STAGING}/${project_name}.chm")
if(NOT EXISTS "${compiled}")
  message(FATAL_ERROR "chmcmd did not write ${compiled}")
endif()

get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${output_dir}")
file(COPY_FILE "${compiled}" "${OUTPUT}")
