# Installs what other programs build against, as the package Vornix:
#   cmake --install BUILD --prefix P
# puts the headers of afx/ and controls/ under P/include/vornix, the static
# libraries and the process entry under P/lib, and the package
# configuration under P/lib/cmake/Vornix, so that a program's build is
#   find_package(Vornix CONFIG REQUIRED)
#   target_link_libraries(app PRIVATE Vornix::controls Vornix::afx_winmain)
include(CMakePackageConfigHelpers)

install(TARGETS vornix_afx vornix_controls vornix_afx_winmain EXPORT VornixTargets
  ARCHIVE DESTINATION lib
  OBJECTS DESTINATION lib/vornix-objects)
install(EXPORT VornixTargets NAMESPACE Vornix:: DESTINATION lib/cmake/Vornix)

file(WRITE ${PROJECT_BINARY_DIR}/package/VornixConfig.cmake
  "include(\"\${CMAKE_CURRENT_LIST_DIR}/VornixTargets.cmake\")\n")
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/VornixConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/VornixConfig.cmake ${PROJECT_BINARY_DIR}/package/VornixConfigVersion.cmake
  DESTINATION lib/cmake/Vornix)
