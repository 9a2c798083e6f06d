# What `cmake --install` puts in place for people who write their own host: the framework, the host kit and the
# window layer as shared libraries, the plug-in in a folder of its own (it is dlopen'ed, never
# linked), xelimg, the headers, a CMake package (find_package(XelImgProcess)) and pkg-config files.
# Every RPATH is relative to the file that carries it, so an installed tree can be moved as a whole.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(XEL_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/XelPseudoColor)
set(XEL_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/XelImgProcess)

# $ORIGIN followed by the way from <from_dir> to the library folder.
function(xel_install_rpath target from_dir)
  file(RELATIVE_PATH to_libs /${from_dir} /${CMAKE_INSTALL_LIBDIR})
  string(REGEX REPLACE "/$" "" to_libs "${to_libs}")
  if(to_libs STREQUAL "")
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  else()
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${to_libs}")
  endif()
endfunction()

# Linked libraries carry a versioned SONAME (libxelhost.so.1 -> libxelhost.so.1.<minor>.<patch>), so
# releases with another interface install side by side. The plug-in carries none: hosts dlopen it by
# file name from a folder of its own, and nothing links it.
set(XEL_LINKED_LIBRARIES XelImgProcess xelhost xelwinui xelwinui_presenter)
set_target_properties(${XEL_LINKED_LIBRARIES} PROPERTIES
  SOVERSION ${XEL_SOVERSION} VERSION ${XEL_SOVERSION}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
foreach(library IN LISTS XEL_LINKED_LIBRARIES)
  xel_install_rpath(${library} ${CMAKE_INSTALL_LIBDIR})
endforeach()

# Components: "runtime" is what the Python module needs beside it (the libraries it loads and the
# plug-in), "python" the module itself, "development" the names a linker looks for. The rest (xelimg,
# the presenter, headers, package files, man page, completion) install with every full install.
set_target_properties(xel_host PROPERTIES EXPORT_NAME Host)
install(TARGETS xel_host XelImgProcess xelhost xelwinui EXPORT XelImgProcessTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development)
install(TARGETS xelwinui_presenter EXPORT XelImgProcessTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/include/ ${PROJECT_SOURCE_DIR}/framework/include/
                  ${PROJECT_SOURCE_DIR}/hostkit/include/ ${PROJECT_SOURCE_DIR}/winui/include/
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h")

xel_install_rpath(XelPseudoColor ${XEL_PLUGIN_INSTALL_DIR})
install(TARGETS XelPseudoColor LIBRARY DESTINATION ${XEL_PLUGIN_INSTALL_DIR} COMPONENT runtime)

xel_install_rpath(xelimg ${CMAKE_INSTALL_BINDIR})
# Where xelimg looks for the plug-in by default; the folders differ with the prefix (lib or a
# multiarch folder below /usr), so it learns the way from here.
file(RELATIVE_PATH plugin_from_bin /${CMAKE_INSTALL_BINDIR} /${XEL_PLUGIN_INSTALL_DIR})
target_compile_definitions(xelimg PRIVATE XELIMG_INSTALLED_PLUGIN_DIR="${plugin_from_bin}")
install(TARGETS xelimg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(EXPORT XelImgProcessTargets NAMESPACE XelImgProcess:: DESTINATION ${XEL_CMAKE_INSTALL_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/XelImgProcessConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/XelImgProcessConfig.cmake
  INSTALL_DESTINATION ${XEL_CMAKE_INSTALL_DIR}
  PATH_VARS XEL_PLUGIN_INSTALL_DIR)
# Before 1.0 a minor release may change the interface.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/XelImgProcessConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/XelImgProcessConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/XelImgProcessConfigVersion.cmake
  DESTINATION ${XEL_CMAKE_INSTALL_DIR})

file(RELATIVE_PATH XEL_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" XEL_PC_TO_PREFIX "${XEL_PC_TO_PREFIX}")
# xelimgprocess: the framework a plug-in builds against; xelhost: the host kit on top of it.
foreach(pc xelimgprocess xelhost)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${pc}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
