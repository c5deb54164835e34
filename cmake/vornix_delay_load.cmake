# A DLL that a program imports is loaded before the program's first
# instruction, looked for in the program's folder first, and so are the
# DLLs it imports in turn. Windows takes user32, gdi32 and shell32 from its
# own folder whatever the search (they are known DLLs), but Wine's own
# user32 imports version.dll, which Windows does not treat so: a version.dll
# beside a copy of the elevated utility would run under Wine before the
# utility could restrict the search. The utility therefore loads these
# libraries at their first call (delay-loaded, through the compiler
# runtime's __delayLoadHelper2), after its first act has restricted the
# search to the system folder.
#
# 64-bit only: GNU ld 2.40 for i386 discards the code of the delay stubs
# (it takes a member that defines __imp_X for a plain import and keeps only
# its import data), so the 32-bit program imports them as before.
#
#   vornix_delay_load(TARGET user32 gdi32 ...)
#
# The delay import libraries are made at configuration time from the
# toolchain's own import libraries (every function they name), once per
# build folder.
function(vornix_delay_load target)
  if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    return()
  endif()
  set(folder ${CMAKE_BINARY_DIR}/delay_load)
  file(MAKE_DIRECTORY ${folder})
  foreach(dll IN LISTS ARGN)
    set(library ${folder}/lib${dll}_delay.a)
    if(NOT EXISTS ${library})
      execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${dll}.a
        OUTPUT_VARIABLE import OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
      execute_process(COMMAND ${CMAKE_NM} ${import} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" functions "${symbols}")
      list(TRANSFORM functions REPLACE " I __imp_" "")
      list(REMOVE_DUPLICATES functions)
      list(JOIN functions "\n" exports)
      file(WRITE ${folder}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
      execute_process(COMMAND ${CMAKE_DLLTOOL} -d ${folder}/${dll}.def -y ${library}
        COMMAND_ERROR_IS_FATAL ANY)
    endif()
    # Before the toolchain's own -l${dll}, which the compiler driver and
    # the libraries add later on the line.
    target_link_libraries(${target} PRIVATE ${library})
  endforeach()
endfunction()
