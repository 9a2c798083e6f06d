# The plug-in's parts. Each part is an object library linked into libXelPseudoColor. Its include
# root holds its own folder and nothing else, and a part sees only its own root and those of the
# parts it links, so `#include "ui/..."` in a part that may not use ui/ fails to compile.

# xel_add_part(<target> <folder> SOURCES <file>... [USES <target>...])
function(xel_add_part target folder)
  cmake_parse_arguments(PART "" "" "SOURCES;USES" ${ARGN})
  if(NOT PART_SOURCES)
    message(FATAL_ERROR "xel_add_part(${target}): no SOURCES")
  endif()
  add_library(${target} OBJECT ${PART_SOURCES})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  xel_add_include_root(${target} ${folder})
  target_link_libraries(${target} PUBLIC ${PART_USES} PRIVATE xel_strict_warnings)
  xel_target_defaults(${target})
endfunction()

# xel_add_include_root(<target> <folder>): gives <target> and whoever links it an include root in
# which only <folder> of the source tree is visible.
function(xel_add_include_root target folder)
  set(root ${PROJECT_BINARY_DIR}/include-roots/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
