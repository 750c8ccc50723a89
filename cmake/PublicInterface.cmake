# The libraries' public interface. The installed headers are what a host uses; the shared
# libraries are built with hidden visibility and export only what those headers mark with
# ZEL_API (core) or ZEL_QT_API (Qt backend). Which headers are public is decided once, by
# the name patterns in PrivateHeaders.txt beside this file, and that one answer feeds the
# install step, the staged include folder the command compiles against, the ABI baseline
# and the exported-symbol test.
#
# Included after the core's targets are made and before the Qt backend's, so the hidden
# default reaches every target made after it, and the layer objects get it here.

set(ZEL_STAGED_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include/zelutil)
# The Qt backend's headers, staged apart: each staging owns its folder whole.
set(ZEL_QT_STAGED_INCLUDE_DIR ${CMAKE_BINARY_DIR}/include-qt/zelutil)
set(ZEL_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)

# ZEL_PRIVATE_HEADER_PATTERNS: the regular expressions of PrivateHeaders.txt.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/PrivateHeaders.txt zel_private_lines)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/PrivateHeaders.txt)
set(ZEL_PRIVATE_HEADER_PATTERNS)
foreach(line ${zel_private_lines})
  if(NOT line MATCHES "^#" AND NOT line STREQUAL "")
    list(APPEND ZEL_PRIVATE_HEADER_PATTERNS "${line}")
  endif()
endforeach()

# Splits absolute header paths into the public ones and the ones that stay in the tree,
# by their paths from the source root.
function(zel_split_headers headers public_var private_var)
  set(public)
  set(private)
  foreach(header ${headers})
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${header})
    set(is_private FALSE)
    foreach(pattern ${ZEL_PRIVATE_HEADER_PATTERNS})
      if(rel MATCHES "${pattern}")
        set(is_private TRUE)
        break()
      endif()
    endforeach()
    if(is_private)
      list(APPEND private ${header})
    else()
      list(APPEND public ${header})
    endif()
  endforeach()
  set(${public_var} ${public} PARENT_SCOPE)
  set(${private_var} ${private} PARENT_SCOPE)
endfunction()

zel_split_headers("${ZEL_HEADERS}" ZEL_PUBLIC_HEADERS ZEL_PRIVATE_HEADERS)

# The export macros. GNU visibility needs no import side, so the layers' object files,
# which go whole into the tests as well as into the shared library, need no define.
include(GenerateExportHeader)
generate_export_header(zelutil BASE_NAME ZEL EXPORT_MACRO_NAME ZEL_API
  EXPORT_FILE_NAME ${ZEL_GENERATED_DIR}/ZelExport.h)
list(APPEND ZEL_PUBLIC_HEADERS ${ZEL_GENERATED_DIR}/ZelExport.h)
# Every target made after this point (tests' support code, benchmarks, fuzz harnesses)
# may include library headers without linking a layer.
include_directories(${ZEL_GENERATED_DIR})

set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
foreach(target ${ZEL_LAYER_TARGETS})
  set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${ZEL_GENERATED_DIR}>)
endforeach()

# A shared library's exports: its marked interface, not the standard library's templates
# it instantiated for itself (HiddenStd.map).
function(zel_shared_library_exports target)
  set(map ${PROJECT_SOURCE_DIR}/cmake/HiddenStd.map)
  target_link_options(${target} PRIVATE -Wl,--version-script=${map})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()
zel_shared_library_exports(zelutil)

# The staged include folder: the public headers as they are installed, copied at build
# time (an edited header is copied again, only when its text changed) by the target
# named; a header that leaves the public set leaves the folder at the next configure.
function(zel_stage_headers target headers dest_dir)
  file(GLOB_RECURSE staged LIST_DIRECTORIES false ${dest_dir}/*)
  set(outputs)
  foreach(header ${headers})
    if(header MATCHES "^${ZEL_GENERATED_DIR}/")
      file(RELATIVE_PATH rel ${ZEL_GENERATED_DIR} ${header})
    else()
      file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR} ${header})
    endif()
    add_custom_command(OUTPUT ${dest_dir}/${rel}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${header} ${dest_dir}/${rel}
      DEPENDS ${header} VERBATIM)
    list(APPEND outputs ${dest_dir}/${rel})
  endforeach()
  foreach(file ${staged})
    if(NOT file IN_LIST outputs)
      file(REMOVE ${file})
    endif()
  endforeach()
  add_custom_target(${target} DEPENDS ${outputs})
endfunction()

zel_stage_headers(zel_staged_headers "${ZEL_PUBLIC_HEADERS}" ${ZEL_STAGED_INCLUDE_DIR})
add_dependencies(zelutil zel_staged_headers)

# A host built in the tree sees the staged folder, as it would see the installed one.
set_property(TARGET zelutil PROPERTY INTERFACE_INCLUDE_DIRECTORIES
  $<BUILD_INTERFACE:${ZEL_STAGED_INCLUDE_DIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/zelutil>)

# The command is such a host: it compiles against the staged headers and its own folder
# alone (cli/ reached through a folder holding nothing else), so an include of a header
# that is not installed fails to build.
function(zel_compile_as_host target own_folder)
  set(root ${CMAKE_BINARY_DIR}/host-roots/${target})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${own_folder} ${root}/${own_folder} SYMBOLIC)
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# The lists the exported-symbol test reads: the public headers and the private ones.
file(WRITE ${CMAKE_BINARY_DIR}/zel-public-headers.txt "")
foreach(header ${ZEL_PUBLIC_HEADERS})
  file(APPEND ${CMAKE_BINARY_DIR}/zel-public-headers.txt "${header}\n")
endforeach()
file(WRITE ${CMAKE_BINARY_DIR}/zel-private-headers.txt "")
foreach(header ${ZEL_PRIVATE_HEADERS})
  file(APPEND ${CMAKE_BINARY_DIR}/zel-private-headers.txt "${header}\n")
endforeach()
