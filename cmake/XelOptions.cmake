# Build switches and the warning set every target of this project uses.
option(XEL_BUILD_TESTS "Build the test programs" ON)
option(XEL_BUILD_BENCH "Build the benchmarks" OFF)
option(XEL_BUILD_FUZZ "Build the libFuzzer targets (clang only)" OFF)
set(XEL_SANITIZE "" CACHE STRING "Sanitizer build: address, thread or empty")
option(XEL_WERROR "Treat warnings as errors (CI builds turn this on)" OFF)

add_library(xel_warnings INTERFACE)
target_compile_options(xel_warnings INTERFACE -Wall -Wextra $<$<BOOL:${XEL_WERROR}>:-Werror>)
# The stricter set every target of ours is held to: the sizes, signs and names of image data are
# where a silent conversion or a shadowed name costs a wrong pixel.
add_library(xel_strict_warnings INTERFACE)
target_compile_options(xel_strict_warnings INTERFACE -Wconversion -Wshadow -Wold-style-cast)

# The vptr check needs every dynamic type's type info at link time, but the plug-in's classes are
# hidden inside the plug-in by design and tests reach them only through the library they dlopen.
if(XEL_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(XEL_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT XEL_SANITIZE STREQUAL "")
  message(FATAL_ERROR "XEL_SANITIZE must be address, thread or empty, not '${XEL_SANITIZE}'")
endif()

if(XEL_BUILD_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "XEL_BUILD_FUZZ needs clang (configure with CXX=clang++)")
  endif()
  if(NOT XEL_SANITIZE STREQUAL "")
    message(FATAL_ERROR "XEL_BUILD_FUZZ brings its own sanitizers; leave XEL_SANITIZE empty")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer
                      -fsanitize-coverage-ignorelist=${CMAKE_SOURCE_DIR}/fuzz/coverage_ignorelist.txt)
  add_link_options(-fsanitize=address,undefined)
endif()

# Every folder's library is its own target; this keeps their sources private to it.
function(xel_target_defaults target)
  target_link_libraries(${target} PRIVATE xel_warnings xel_strict_warnings)
endfunction()
