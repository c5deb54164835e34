# Each folder of the program is one static library, and a library may
# include only the folders that the table in docs/ARCHITECTURE.md allows it.
# The compiler enforces the table: a library's private include directory is
# a folder of links to exactly those folders (or single headers), so an
# #include of anything else does not compile. The links are made from this
# file's own place, so the rule holds wherever the project sits (on its own
# or added to another project).
#
#   vornix_may_include(TARGET afx version res/resource.h ...)
#
# The calls are recorded and checked against the table at the end of the
# configuration (vornix_check_architecture_table): the two cannot drift.
get_filename_component(VORNIX_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

function(vornix_may_include target)
  set(root ${PROJECT_BINARY_DIR}/include-roots/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(entry IN LISTS ARGN)
    get_filename_component(parent ${root}/${entry} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${VORNIX_SOURCE_ROOT}/${entry} ${root}/${entry} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
  set_property(GLOBAL APPEND PROPERTY VORNIX_MAY_INCLUDE_TARGETS ${target})
  set_property(GLOBAL PROPERTY VORNIX_MAY_INCLUDE_${target} ${ARGN})
endfunction()

# A library other programs build against: its headers are reached as
# "folder/name.h" from an include directory that holds that folder alone
# (in the build tree a link to the sources, once installed
# include/vornix), and are installed there.
function(vornix_public_headers target folder)
  set(root ${PROJECT_BINARY_DIR}/public-include/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${VORNIX_SOURCE_ROOT}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}> $<INSTALL_INTERFACE:include/vornix>)
  file(GLOB headers ${VORNIX_SOURCE_ROOT}/${folder}/*.h)
  install(FILES ${headers} DESTINATION include/vornix/${folder})
endfunction()

# Fails the configuration when docs/ARCHITECTURE.md's table of who may
# include whom and the vornix_may_include calls disagree. A row names its
# targets in backticks in the second column and what they may include in
# the third; helper libraries of tools/ and tests/, reached by linking them,
# are listed there too and are not include roots.
function(vornix_check_architecture_table)
  file(STRINGS ${VORNIX_SOURCE_ROOT}/docs/ARCHITECTURE.md lines REGEX "^\\| `")
  get_property(targets GLOBAL PROPERTY VORNIX_MAY_INCLUDE_TARGETS)
  set(problems "")
  foreach(target IN LISTS targets)
    get_property(granted GLOBAL PROPERTY VORNIX_MAY_INCLUDE_${target})
    set(listed "")
    set(found FALSE)
    foreach(line IN LISTS lines)
      string(REPLACE "|" ";" cells "${line}")
      list(GET cells 2 names)
      list(GET cells 3 allowed)
      if(NOT names MATCHES "`${target}`")
        continue()
      endif()
      set(found TRUE)
      string(REGEX MATCHALL "`[^`]+`" items "${allowed}")
      foreach(item IN LISTS items)
        string(REGEX REPLACE "^`(.*)`$" "\\1" item "${item}")
        string(REGEX REPLACE "/$" "" item "${item}")
        if(NOT item MATCHES "^(tools|tests)/")
          list(APPEND listed ${item})
        endif()
      endforeach()
    endforeach()
    list(SORT granted)
    list(REMOVE_DUPLICATES granted)
    list(SORT listed)
    list(REMOVE_DUPLICATES listed)
    if(NOT found)
      string(APPEND problems "\n  ${target}: no row in the table")
    elseif(NOT granted STREQUAL listed)
      string(APPEND problems "\n  ${target}: the build allows '${granted}', the table '${listed}'")
    endif()
  endforeach()
  if(problems)
    message(FATAL_ERROR "docs/ARCHITECTURE.md and vornix_may_include disagree:${problems}")
  endif()
endfunction()
