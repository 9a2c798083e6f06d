# One step of the installed-package check, run by ctest as `cmake -DSTEP=... -P install_check.cmake`.
#   tree            install BUILD_DIR, move the prefix, and let the installed xelimg make the
#                   demo scene and the reference picture
#   cmake_host      build the example host with find_package(XelImgProcess), compare its picture,
#                   and check that the host guide shows its source unchanged
#   pkgconfig_host  the same, compiled by hand with the flags pkg-config gives for the host kit
#   plugin_libraries  the installed plug-in resolves every library it needs inside the moved tree,
#                   and none of them is a codec, video, display or sound library (those stay in the
#                   host kit and the presenter)
#   consumer_cmake  a tiny plug-in host that states no C++ standard, built with find_package against the
#                   framework alone, linked by SONAME, listing the plug-in's objects
#   consumer_pkgconfig  the same program compiled with `pkg-config --cflags --libs xelimgprocess` alone
#   completion      the installed bash completion, loaded as bash-completion loads it, completes
#                   commands and the options it reads from the installed xelimg
cmake_minimum_required(VERSION 3.25)

set(prefix ${WORK_DIR}/prefix)
set(scene ${WORK_DIR}/demo/demo-scene.png)
set(reference ${WORK_DIR}/reference.png)
set(profile 2)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command}\nexited with ${status}:\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# A PNG's signature and header, and everything from its first image data chunk on, as hex: what a
# host makes of the scene, without the text chunks in which xelimg records what made its picture.
function(png_without_text file out)
  file(READ ${file} hex HEX)
  string(SUBSTRING "${hex}" 0 66 head)
  string(FIND "${hex}" "49444154" idat)
  math(EXPR start "${idat} - 8")
  string(SUBSTRING "${hex}" ${start} -1 data)
  set(${out} "${head}${data}" PARENT_SCOPE)
endfunction()

function(expect_reference_picture host)
  set(picture ${WORK_DIR}/${STEP}.png)
  file(REMOVE ${picture})
  run(${host} ${scene} ${picture} ${profile})
  png_without_text(${picture} made)
  png_without_text(${reference} expected)
  if(NOT made STREQUAL expected)
    message(FATAL_ERROR "${host} made ${picture}, which differs from xelimg's ${reference}")
  endif()
endfunction()

# The object-catalogue consumer lists both of the plug-in's objects, and its executable asks for the
# framework by SONAME, as a program built today must still start after the next compatible release.
function(expect_consumer_catalogue consumer)
  run(${consumer})
  foreach(object "96 Pseudo color lut" "97 Temperature display")
    if(NOT out MATCHES "${object}: [1-9][0-9]* dialogs")
      message(FATAL_ERROR "${consumer} did not list \"${object}\" with its dialogs:\n${out}")
    endif()
  endforeach()
  execute_process(COMMAND ${READELF} -d ${consumer} OUTPUT_VARIABLE dynamic COMMAND_ERROR_IS_FATAL ANY)
  if(NOT dynamic MATCHES "NEEDED[^\n]*\\[libXelImgProcess\\.so\\.${SOVERSION}\\]")
    message(FATAL_ERROR "${consumer} does not need libXelImgProcess.so.${SOVERSION}:\n${dynamic}")
  endif()
endfunction()

# lib<name>.so -> lib<name>.so.SOVERSION -> lib<name>.so.SOVERSION.<minor>.<patch>, whose SONAME is
# the middle name.
function(expect_soname_links name)
  set(soname lib${name}.so.${SOVERSION})
  set(real ${soname}.${VERSION_MINOR_PATCH})
  foreach(link_and_target "lib${name}.so;${soname}" "${soname};${real}")
    list(GET link_and_target 0 link)
    list(GET link_and_target 1 target)
    if(NOT IS_SYMLINK ${prefix}/lib/${link})
      message(FATAL_ERROR "${prefix}/lib/${link} should be a link to ${target}")
    endif()
    file(READ_SYMLINK ${prefix}/lib/${link} points_to)
    if(NOT points_to STREQUAL target)
      message(FATAL_ERROR "${prefix}/lib/${link} points to ${points_to}, not ${target}")
    endif()
  endforeach()
  if(IS_SYMLINK ${prefix}/lib/${real} OR NOT EXISTS ${prefix}/lib/${real})
    message(FATAL_ERROR "${prefix}/lib/${real} should be the library itself")
  endif()
  execute_process(COMMAND ${READELF} -d ${prefix}/lib/${real} OUTPUT_VARIABLE dynamic COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "." "\\." soname_pattern ${soname})
  if(NOT dynamic MATCHES "SONAME[^\n]*\\[${soname_pattern}\\]")
    message(FATAL_ERROR "${prefix}/lib/${real} does not carry the SONAME ${soname}:\n${dynamic}")
  endif()
endfunction()

if(STEP STREQUAL "tree")
  file(REMOVE_RECURSE ${WORK_DIR})
  set(staging ${WORK_DIR}/staging)
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${staging} --config ${CONFIG})
  # Moved before use: nothing in the tree may point back at where it was installed.
  file(RENAME ${staging} ${prefix})
  foreach(file lib/libXelImgProcess.so lib/libxelwinui.so lib/XelPseudoColor/libXelPseudoColor.so bin/xelimg
          include/XelImgProcess/CXelImgProcess_0.h include/XelPseudoColor/SettingsRecord.h
          include/xelfw/ProcessingHost.h include/winui/windef.h
          lib/cmake/XelImgProcess/XelImgProcessConfig.cmake lib/cmake/XelImgProcess/XelImgProcessConfigVersion.cmake
          lib/pkgconfig/xelimgprocess.pc lib/pkgconfig/xelhost.pc)
    if(NOT EXISTS ${prefix}/${file})
      message(FATAL_ERROR "the installed tree lacks ${file}")
    endif()
  endforeach()
  foreach(name XelImgProcess xelhost xelwinui xelwinui_presenter)
    expect_soname_links(${name})
  endforeach()
  # Hosts dlopen the plug-in by this very name; it is the file, not a link to a versioned one.
  if(IS_SYMLINK ${prefix}/lib/XelPseudoColor/libXelPseudoColor.so)
    message(FATAL_ERROR "the installed plug-in is a link; hosts load it by file name")
  endif()
  # The man page is the one made from this xelimg's help texts.
  file(READ ${prefix}/share/man/man1/xelimg.1 man_page)
  if(NOT man_page MATCHES "\n\\.TH XELIMG \"1\" [^\n]*xelimg ${VERSION}" OR NOT man_page MATCHES "\\.SS pseudo")
    message(FATAL_ERROR "share/man/man1/xelimg.1 is not xelimg ${VERSION}'s page with its commands")
  endif()
  # xelimg finds the plug-in from its own place in the tree, without --plugin.
  run(${prefix}/bin/xelimg demo ${WORK_DIR}/demo)
  run(${prefix}/bin/xelimg pseudo ${scene} ${reference} --profile ${profile} --auto contrast)
elseif(STEP STREQUAL "cmake_host")
  set(build ${WORK_DIR}/cmake-host)
  file(REMOVE_RECURSE ${build})
  run(${CMAKE_COMMAND} -S ${EXAMPLE_DIR} -B ${build} -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix})
  run(${CMAKE_COMMAND} --build ${build})
  expect_reference_picture(${build}/host-example)
  # The host guide shows this very program, so what a reader copies is what was just run.
  file(READ ${EXAMPLE_DIR}/main.cpp program)
  file(READ ${GUIDE} guide)
  string(FIND "${guide}" "```cpp\n${program}```" shown)
  if(shown EQUAL -1)
    message(FATAL_ERROR "${GUIDE} does not show ${EXAMPLE_DIR}/main.cpp as it is")
  endif()
elseif(STEP STREQUAL "pkgconfig_host")
  set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
  foreach(query cflags libs)
    execute_process(COMMAND ${PKG_CONFIG} --${query} xelhost OUTPUT_VARIABLE ${query}
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(${query} UNIX_COMMAND "${${query}}")
  endforeach()
  foreach(variable plugin libdir)
    execute_process(COMMAND ${PKG_CONFIG} --variable=${variable} xelimgprocess OUTPUT_VARIABLE ${variable}
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  set(host ${WORK_DIR}/pkgconfig-host)
  file(REMOVE ${host})
  # No -std here: the headers need C++20, and the package's Cflags must say so.
  run(${CXX} -O2 ${cflags} "-DXEL_PSEUDOCOLOR_PLUGIN=\"${plugin}\"" ${EXAMPLE_DIR}/main.cpp
      -o ${host} ${libs} -Wl,-rpath,${libdir})
  expect_reference_picture(${host})
elseif(STEP STREQUAL "consumer_cmake")
  set(build ${WORK_DIR}/consumer-cmake)
  file(REMOVE_RECURSE ${build})
  run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build} -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${prefix} -DXEL_VERSION=${VERSION})
  run(${CMAKE_COMMAND} --build ${build})
  expect_consumer_catalogue(${build}/object-catalogue)
elseif(STEP STREQUAL "consumer_pkgconfig")
  set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
  execute_process(COMMAND ${PKG_CONFIG} --cflags --libs xelimgprocess OUTPUT_VARIABLE flags
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  foreach(variable plugin libdir)
    execute_process(COMMAND ${PKG_CONFIG} --variable=${variable} xelimgprocess OUTPUT_VARIABLE ${variable}
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
  set(consumer ${WORK_DIR}/consumer-pkgconfig)
  file(REMOVE ${consumer})
  # No -std here either: the headers need C++20 (std::span), and the framework's Cflags must say so.
  run(${CXX} -O2 "-DXEL_PSEUDOCOLOR_PLUGIN=\"${plugin}\"" ${CONSUMER_DIR}/main.cpp -o ${consumer} ${flags}
      -Wl,-rpath,${libdir})
  expect_consumer_catalogue(${consumer})
elseif(STEP STREQUAL "completion")
  set(script ${prefix}/share/bash-completion/completions/xelimg)
  # bash-completion sources the file when `xelimg` is first completed; its function then answers.
  # No semicolons in the script: CMake would split the command there.
  set(complete [=[
source "$1" && source "$2" || exit 1
spec=$(complete -p xelimg) || exit 1
function=${spec##*-F }
function=${function%% *}
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  "$function" xelimg "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  echo "${COMPREPLY[*]}"
}
complete_words "$3" ps
complete_words "$3" pseudo --pro
complete_words "$3" pseudo --profile ''
]=])
  run(bash -c "${complete}" check ${BASH_COMPLETION} ${script} ${prefix}/bin/xelimg)
  if(NOT out STREQUAL "pseudo\n--profile\n0 1 2 3 4 grey clipping\n")
    message(FATAL_ERROR "the installed completion completed \"xelimg ps\", \"xelimg pseudo --pro\" and "
                        "\"xelimg pseudo --profile\" as:\n${out}")
  endif()
elseif(STEP STREQUAL "plugin_libraries")
  set(plugin ${prefix}/lib/XelPseudoColor/libXelPseudoColor.so)
  execute_process(COMMAND ${LDD} ${plugin} OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" lines "${listing}")
  set(offending "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line MATCHES "not found")
      list(APPEND offending "${line}")
    endif()
    string(REGEX REPLACE " .*" "" library "${line}")
    string(TOLOWER "${library}" library)
    foreach(forbidden gst glib gobject sdl2 x11 wayland pulse asound tiff deflate)
      if(library MATCHES "${forbidden}")
        list(APPEND offending "${line} (${forbidden})")
      endif()
    endforeach()
  endforeach()
  if(offending)
    list(REMOVE_DUPLICATES offending)
    list(JOIN offending "\n  " offending)
    message(FATAL_ERROR "${plugin} must not need:\n  ${offending}")
  endif()
else()
  message(FATAL_ERROR "unknown STEP '${STEP}'")
endif()
