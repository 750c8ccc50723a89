# zel's manual page, built from its scdoc source into the build folder (man build/zel.1)
# and installed gzipped, and its shell completions; all of it belongs to zel's package.
find_program(ZEL_SCDOC scdoc)
if(NOT ZEL_SCDOC)
  message(FATAL_ERROR "scdoc builds zel's manual page: install it (scripts/deps does)")
endif()
find_program(ZEL_GZIP gzip REQUIRED)

set(ZEL_MANUAL_SOURCE ${PROJECT_SOURCE_DIR}/docs/man/zel.1.scd)
set(ZEL_MANUAL ${CMAKE_BINARY_DIR}/zel.1)
add_custom_command(OUTPUT ${ZEL_MANUAL} ${ZEL_MANUAL}.gz
  COMMAND ${CMAKE_COMMAND} -DSCDOC=${ZEL_SCDOC} -DGZIP=${ZEL_GZIP}
    -DSOURCE=${ZEL_MANUAL_SOURCE} -DOUTPUT=${ZEL_MANUAL}
    -P ${CMAKE_CURRENT_LIST_DIR}/ManualPage.cmake
  DEPENDS ${ZEL_MANUAL_SOURCE} ${CMAKE_CURRENT_LIST_DIR}/ManualPage.cmake
  COMMENT "Building zel's manual page"
  VERBATIM)
add_custom_target(zel_manual ALL DEPENDS ${ZEL_MANUAL} ${ZEL_MANUAL}.gz)

install(FILES ${ZEL_MANUAL}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT zel)
install(FILES completions/zel.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  RENAME zel COMPONENT zel)
install(FILES completions/_zel DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions
  COMPONENT zel)
install(FILES completions/zel.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d
  COMPONENT zel)

if(ZEL_TESTS)
  # Each completion is asked what it offers, as its shell asks on Tab (zsh on a
  # pseudo-terminal); scripts/deps installs the three shells and bash-completion.
  set(tests ${PROJECT_SOURCE_DIR}/tests/completions)
  set(scripts ${PROJECT_SOURCE_DIR}/completions)
  add_test(NAME completion_bash
    COMMAND bash ${tests}/bash-completion.sh ${scripts}/zel.bash $<TARGET_FILE:zel>)
  add_test(NAME completion_zsh COMMAND bash ${tests}/zsh-completion.sh ${scripts} $<TARGET_FILE:zel>)
  add_test(NAME completion_fish
    COMMAND bash ${tests}/fish-completion.sh ${scripts}/zel.fish $<TARGET_FILE:zel>)
  set_tests_properties(completion_bash completion_zsh completion_fish PROPERTIES TIMEOUT 120)
endif()
