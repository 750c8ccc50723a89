# The Debian packages (make package): CPack's DEB generator, one package per group of
# install components. The components, which every install rule names:
#
#   lib        libzelutil2      the core library
#   qt         libzelutil-qt2   the Qt backend, apart so that a headless host does not
#                               pull Qt (libzelutil2 recommends it)
#   dev, docs  libzelutil-dev   headers, the .so links, the pkg-config and CMake files;
#                               the API reference
#   zel        zel              the command, its manual page, completions, desktop entry,
#                               icon, MIME package and examples
#
# Packages are built in a tree of their own, configured with ZEL_PACKAGE=ON and the prefix
# /usr, so that the libraries go to /usr/lib/<multiarch> where the system's loader finds
# them; a developer's tree keeps its relocatable install.
option(ZEL_PACKAGE "Configure this tree to build the Debian packages (make package)" OFF)
if(NOT ZEL_PACKAGE)
  return()
endif()
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "ZEL_PACKAGE needs -DCMAKE_INSTALL_PREFIX=/usr, not ${CMAKE_INSTALL_PREFIX}")
endif()

set(ZEL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

# The Debian revision comes from the changelog, whose latest entry must be this version:
# a new version starts with a new entry there.
file(STRINGS ${ZEL_PACKAGING_DIR}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^zelutil \\(([^-)]+)-([^)]+)\\) ")
  message(FATAL_ERROR "packaging/changelog: the first line is not an entry: ${changelog_head}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog: its latest entry is ${CMAKE_MATCH_1}, the "
    "project is ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
endif()
set(ZEL_DEB_RELEASE ${CMAKE_MATCH_2})
set(ZEL_DEB_VERSION ${PROJECT_VERSION}-${ZEL_DEB_RELEASE})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ZEL_PACKAGING_DIR}/changelog)

# The packaged zel has no runpath: it finds its library where the system keeps libraries.
set_target_properties(zel PROPERTIES INSTALL_RPATH "")

# Debian keeps a binary package's changelog compressed without a name or time stamp, so that
# two builds give the same bytes.
set(doc_stage ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${doc_stage})
execute_process(COMMAND gzip -9n -c ${ZEL_PACKAGING_DIR}/changelog
  OUTPUT_FILE ${doc_stage}/changelog.Debian.gz RESULT_VARIABLE gzip_status)
if(NOT gzip_status EQUAL 0)
  message(FATAL_ERROR "gzip -9n packaging/changelog failed: ${gzip_status}")
endif()

# zel's postrm takes the MIME database's files of its types away (packaging/zel.postrm.in):
# the types are those of the MIME package the install step has just written.
install(CODE "
  set(XML \"${ZEL_DESKTOP_STAGE}/share/mime/packages/zelutil-zel.xml\")
  set(TEMPLATE \"${ZEL_PACKAGING_DIR}/zel.postrm.in\")
  set(OUT \"${doc_stage}/postrm\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/PackagingPostrm.cmake\")" COMPONENT zel)
set(CPACK_DEBIAN_ZEL_PACKAGE_CONTROL_EXTRA ${doc_stage}/postrm)

# Each package: its name, section and description; its copyright file, changelog and
# lintian overrides (packaging/<name>.lintian-overrides, when it has any).
set(ZEL_PACKAGE_GROUPS lib qt dev zel)
# The libraries' packages are named after their sonames.
set(lib_package libzelutil${PROJECT_VERSION_MAJOR})
set(qt_package libzelutil-qt${PROJECT_VERSION_MAJOR})
set(dev_package libzelutil-dev)
set(zel_package zel)
foreach(group ${ZEL_PACKAGE_GROUPS})
  set(name ${${group}_package})
  install(FILES ${ZEL_PACKAGING_DIR}/copyright ${doc_stage}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${name} COMPONENT ${group})
  if(EXISTS ${ZEL_PACKAGING_DIR}/${name}.lintian-overrides)
    install(FILES ${ZEL_PACKAGING_DIR}/${name}.lintian-overrides
      DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${name} COMPONENT ${group})
  endif()
  string(TOUPPER ${group} GROUP)
  set(CPACK_DEBIAN_${GROUP}_PACKAGE_NAME ${name})
endforeach()

# Descriptions: a synopsis line, then lines of at most 79 characters (Debian's limit).
set(suite "ZelUtil is the utility library of a desktop suite for DNA/RNA and protein
work: typed file and directory specifications, text and binary files, a
structured text format with an object archive, the suite's file types and the
recognition of sequence file formats (GenBank, EMBL, FASTA and their protein
counterparts), the installation's directory layout and settings stores,
rich-text lines, and the suite's user-configurable Tools menu.")
set(CPACK_DEBIAN_LIB_DESCRIPTION "utility library of a molecular-biology desktop suite
${suite}

This package holds the shared library.")
set(CPACK_DEBIAN_LIB_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_QT_DESCRIPTION "Qt backend of a molecular-biology desktop suite's utility library
${suite}

This package holds the library's Qt backend: windows, menus, dialogs and the
devices that draw on widgets, images, SVG and PDF. The core library loads it
when a program shows or draws something.")
set(CPACK_DEBIAN_QT_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEV_DESCRIPTION "development files of a molecular-biology suite's utility library
${suite}

This package holds the public headers, the pkg-config files zelutil and
zelutil-qt, the CMake package ZelUtil and the reference of the programming
interface.")
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_ZEL_DESCRIPTION "command line and document viewer of a molecular-biology suite
${suite}

This package holds the zel command, which puts the library's jobs in a user's
hands (file types, sequence format detection, structured text files, settings,
the Tools menu), and zel view, the desktop's viewer of the suite's documents.")
set(CPACK_DEBIAN_ZEL_PACKAGE_SECTION science)

# Between our own packages, exact versions; the rest is computed from the binaries.
set(CPACK_DEBIAN_LIB_PACKAGE_RECOMMENDS "${qt_package} (= ${ZEL_DEB_VERSION})")
set(CPACK_DEBIAN_QT_PACKAGE_DEPENDS "${lib_package} (= ${ZEL_DEB_VERSION})")
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
  "${lib_package} (= ${ZEL_DEB_VERSION}), ${qt_package} (= ${ZEL_DEB_VERSION})")
# The Qt backend's headers include Qt's.
set(CPACK_DEBIAN_DEV_PACKAGE_RECOMMENDS "qt6-base-dev, qt6-svg-dev")
# zel loads the Qt backend rather than linking it, so no binary names it: its desktop entry
# opens zel view, which draws with it.
set(CPACK_DEBIAN_ZEL_PACKAGE_DEPENDS
  "${lib_package} (= ${ZEL_DEB_VERSION}), ${qt_package} (= ${ZEL_DEB_VERSION})")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own libraries, which dpkg-shlibdeps finds in the build tree and leaves to the lines above.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR})
# A shlibs file for each library package, and the ldconfig trigger (CPack's own ldconfig
# calls in postinst and postrm come on top: the libraries' lintian overrides say so).
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIB_PACKAGE_CONTROL_EXTRA ${ZEL_PACKAGING_DIR}/triggers)
set(CPACK_DEBIAN_QT_PACKAGE_CONTROL_EXTRA ${ZEL_PACKAGING_DIR}/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelutil)
set(CPACK_PACKAGE_VENDOR "ZelUtil developers")
set(CPACK_PACKAGE_CONTACT "ZelUtil developers <zelutil@example.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SOURCE zelutil)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ZEL_DEB_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Installed with DESTDIR, so that the install rules see the final prefix (the desktop entry
# names /usr/bin/zel) and build no desktop database into the package.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
set(CPACK_COMPONENTS_ALL lib qt dev docs zel)
# An install rule that names no component (Unspecified) or another one would be left out
# of every package without a word.
get_cmake_property(components COMPONENTS)
foreach(component ${components})
  if(NOT component IN_LIST CPACK_COMPONENTS_ALL)
    message(FATAL_ERROR "An install rule's component, ${component}, is none of the "
      "packages' (${CPACK_COMPONENTS_ALL}): name one of them (COMPONENT zel ...)")
  endif()
endforeach()
include(CPack)
foreach(group ${ZEL_PACKAGE_GROUPS})
  cpack_add_component_group(${group})
  cpack_add_component(${group} GROUP ${group})
endforeach()
cpack_add_component(docs GROUP dev)
