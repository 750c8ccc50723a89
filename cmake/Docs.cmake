# The API reference: Doxygen over the public headers as a host sees them (the staged
# include folders), the tour (docs/api/tour.md) as its main page, HTML and XML under
# build/docs/api. Doxygen's warnings are errors; a header without comments is no warning,
# tests/docs checks the briefs instead. The tour's program is built and run as a test
# wherever Doxygen is, so the reference never shows code that no longer compiles.

set(ZEL_DOCS_SOURCE_DIR ${PROJECT_SOURCE_DIR}/docs/api)
set(ZEL_DOCS_OUTPUT_DIR ${CMAKE_BINARY_DIR}/docs/api)
set(ZEL_DOCS_MAIN_PAGE ${ZEL_DOCS_SOURCE_DIR}/tour.md)
set(ZEL_DOCS_EXAMPLE_PATH ${ZEL_DOCS_SOURCE_DIR})
set(ZEL_DOCS_DOXYFILE ${CMAKE_BINARY_DIR}/docs/Doxyfile)
configure_file(${ZEL_DOCS_SOURCE_DIR}/Doxyfile.in ${ZEL_DOCS_DOXYFILE} @ONLY)

# The tour: a host of the shared library, compiled against the staged headers alone.
add_executable(zel_tour ${ZEL_DOCS_SOURCE_DIR}/tour.cpp)
target_link_libraries(zel_tour PRIVATE zelutil)

find_package(Doxygen)
if(NOT DOXYGEN_FOUND)
  return()
endif()

# A header gone from the public set leaves no page behind: each run starts afresh.
add_custom_target(docs
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZEL_DOCS_OUTPUT_DIR}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEL_DOCS_OUTPUT_DIR}
  COMMAND ${DOXYGEN_EXECUTABLE} ${ZEL_DOCS_DOXYFILE}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  COMMENT "The API reference in ${ZEL_DOCS_OUTPUT_DIR}/html"
  VERBATIM)
add_dependencies(docs zel_staged_headers zel_qt_staged_headers)

# The -dev package's reference, when it was built (make docs) before the install.
install(DIRECTORY ${ZEL_DOCS_OUTPUT_DIR}/html/
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/libzelutil-dev/html
  COMPONENT docs OPTIONAL)
