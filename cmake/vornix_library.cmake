# Each folder of the program is one static library, and a library may
# include only the folders that the table in docs/ARCHITECTURE.md allows it.
# The compiler enforces the table: a library's one include directory is a
# folder of links to exactly those folders (or single headers), so an
# #include of anything else does not compile.
#
#   vornix_may_include(TARGET afx version res/resource.h ...)
function(vornix_may_include target)
  set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(entry IN LISTS ARGN)
    get_filename_component(parent ${root}/${entry} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${entry} ${root}/${entry} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()
