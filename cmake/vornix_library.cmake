# Each folder of the program is one static library, and a library may
# include only the folders that the table in docs/ARCHITECTURE.md allows it.
# The compiler enforces the table: a library's private include directory
# holds, for exactly those folders (or single headers), a header of the same
# name that includes the real one by its full path, so an #include of
# anything else does not compile. Plain files rather than links: a Windows
# host makes symbolic links only in developer mode, and copies would go
# stale. The forwarding headers are written from this file's own place, so
# the rule holds wherever the project sits (on its own or added to another
# project), and a header added to a folder is picked up by the next build.
#
#   vornix_may_include(TARGET afx version res/resource.h ...)
#
# The calls are recorded and checked against the table at the end of the
# configuration (vornix_check_architecture_table): the two cannot drift.
get_filename_component(VORNIX_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

# Makes root hold a forwarding header for every header of the entries
# (folders, searched with their subfolders unless FLAT, or single headers)
# and nothing else. A header whose text is unchanged is left alone, so a
# new configuration rebuilds nothing.
function(vornix_forward_headers root)
  cmake_parse_arguments(PARSE_ARGV 1 arg "FLAT" "" "")
  # A build folder of the earlier layout has links into the sources here:
  # they go first, or the headers would be written through them.
  file(GLOB_RECURSE entries LIST_DIRECTORIES true ${root}/*)
  foreach(entry IN LISTS entries)
    if(IS_SYMLINK ${entry})
      file(REMOVE ${entry})
    endif()
  endforeach()
  set(wanted "")
  foreach(entry IN LISTS arg_UNPARSED_ARGUMENTS)
    if(NOT IS_DIRECTORY ${VORNIX_SOURCE_ROOT}/${entry})
      set(headers ${entry})
    elseif(arg_FLAT)
      file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${VORNIX_SOURCE_ROOT} ${VORNIX_SOURCE_ROOT}/${entry}/*.h)
    else()
      file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${VORNIX_SOURCE_ROOT} ${VORNIX_SOURCE_ROOT}/${entry}/*.h)
    endif()
    foreach(header IN LISTS headers)
      set(source ${VORNIX_SOURCE_ROOT}/${header})
      file(CONFIGURE OUTPUT ${root}/${header} CONTENT "#include \"@source@\"\n" @ONLY)
      list(APPEND wanted ${root}/${header})
    endforeach()
  endforeach()
  file(GLOB_RECURSE present LIST_DIRECTORIES false ${root}/*)
  list(REMOVE_ITEM present ${wanted})
  if(present)
    file(REMOVE ${present})
  endif()
endfunction()

function(vornix_may_include target)
  set(root ${PROJECT_BINARY_DIR}/include-roots/${target})
  vornix_forward_headers(${root} ${ARGN})
  target_include_directories(${target} PRIVATE ${root})
  set_property(GLOBAL APPEND PROPERTY VORNIX_MAY_INCLUDE_TARGETS ${target})
  set_property(GLOBAL PROPERTY VORNIX_MAY_INCLUDE_${target} ${ARGN})
endfunction()

# A library other programs build against: its headers are reached as
# "folder/name.h" from an include directory that holds that folder's
# headers alone (in the build tree forwarding headers, once installed
# include/vornix), and are installed there when the project installs.
function(vornix_public_headers target folder)
  set(root ${PROJECT_BINARY_DIR}/public-include/${target})
  vornix_forward_headers(${root} ${folder} FLAT)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}> $<INSTALL_INTERFACE:include/vornix>)
  if(VORNIX_INSTALL)
    file(GLOB headers ${VORNIX_SOURCE_ROOT}/${folder}/*.h)
    install(FILES ${headers} DESTINATION include/vornix/${folder})
  endif()
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
