# Installs the shared library, its headers (under include/zelutil, paths as in the tree),
# the command, a CMake package configuration and a pkg-config file. Every rule names its
# component, the package it goes into (cmake/Packaging.cmake): lib, qt, dev, docs, zel.
include(CMakePackageConfigHelpers)

install(TARGETS zelutil EXPORT ZelUtilTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT lib NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
install(TARGETS zel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT zel)
# The sample installation zel demo walks, found relative to the installed zel.
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/zelutil/examples
  COMPONENT zel)

# The public headers, as staged for the command (cmake/PublicInterface.cmake).
install(DIRECTORY ${ZEL_STAGED_INCLUDE_DIR}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zelutil
  COMPONENT dev)

install(EXPORT ZelUtilTargets NAMESPACE ZelUtil::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZelUtil COMPONENT dev)
configure_package_config_file(cmake/ZelUtilConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/ZelUtilConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZelUtil)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ZelUtilConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ZelUtilConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/ZelUtilConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZelUtil COMPONENT dev)

# The pkg-config file finds the prefix from its own place, so the installed tree still
# works after it is moved (or installed with --prefix to somewhere else).
file(RELATIVE_PATH ZEL_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file(cmake/zelutil.pc.in ${CMAKE_CURRENT_BINARY_DIR}/zelutil.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zelutil.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT dev)

# The Qt backend: its library, headers under include/zelutil/platform/qt, targets of their
# own (found when the consumer has Qt) and a pkg-config file that finds its prefix from
# where it lies.
install(TARGETS zelutil-qt EXPORT ZelUtilQtTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT qt NAMELINK_COMPONENT dev
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
install(DIRECTORY ${ZEL_QT_STAGED_INCLUDE_DIR}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zelutil
  COMPONENT dev)
install(EXPORT ZelUtilQtTargets NAMESPACE ZelUtil::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/ZelUtil COMPONENT dev)
configure_file(cmake/zelutil-qt.pc.in ${CMAKE_CURRENT_BINARY_DIR}/zelutil-qt.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zelutil-qt.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
