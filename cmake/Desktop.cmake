# zel on the desktop: its icon drawn from data/zelutil-zel.svg at the icon theme's sizes
# into the build folder's share/icons/hicolor (where the build's zel register-shell finds
# it), and the install rules that put the desktop entry, the MIME package and the icons
# under share/, written by the zel being installed so that they are the ones
# register-shell writes, with Exec the installed zel.
set(ZEL_ICON_NAME zelutil-zel)
set(ZEL_ICON_SIZES 16 22 24 32 48 64 128 256)
set(ZEL_ICON_SVG ${PROJECT_SOURCE_DIR}/data/${ZEL_ICON_NAME}.svg)
set(ZEL_ICON_THEME ${CMAKE_BINARY_DIR}/share/icons/hicolor)

add_subdirectory(platform/qt/iconrender)
set(icon_files ${ZEL_ICON_THEME}/scalable/apps/${ZEL_ICON_NAME}.svg)
foreach(size ${ZEL_ICON_SIZES})
  list(APPEND icon_files ${ZEL_ICON_THEME}/${size}x${size}/apps/${ZEL_ICON_NAME}.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
  COMMAND zel-iconrender ${ZEL_ICON_SVG} ${ZEL_ICON_THEME} ${ZEL_ICON_NAME} ${ZEL_ICON_SIZES}
  COMMAND ${CMAKE_COMMAND} -E copy ${ZEL_ICON_SVG} ${ZEL_ICON_THEME}/scalable/apps/
  DEPENDS zel-iconrender ${ZEL_ICON_SVG}
  COMMENT "Drawing zel's icon at ${ZEL_ICON_SIZES} pixels"
  VERBATIM)
add_custom_target(zel_icons ALL DEPENDS ${icon_files})
add_dependencies(zel zel_icons)

# The files are written at install time, when the prefix is known (cmake --install
# --prefix may change it), into a folder of the build, and installed from there.
set(ZEL_DESKTOP_STAGE ${CMAKE_BINARY_DIR}/desktop-install)
set(stage ${ZEL_DESKTOP_STAGE})
install(CODE "
  set(zel_installed \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zel\")
  file(REMOVE_RECURSE \"${stage}\")
  execute_process(
    COMMAND \${CMAKE_COMMAND} -E env ZEL_HOME=${stage}/home
            \"$<TARGET_FILE:zel>\" register-shell --export \"${stage}/share\"
            --exec \"\${zel_installed}\"
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR \"zel register-shell --export failed: \${errors}\")
  endif()" COMPONENT zel)
install(DIRECTORY ${stage}/share/ DESTINATION ${CMAKE_INSTALL_DATADIR} COMPONENT zel)
# Installed straight into a prefix (no DESTDIR, which packages use), the desktop's
# databases there are brought up to date; a package's own triggers do it otherwise.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    set(share \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}\")
    foreach(tool \"update-mime-database;\${share}/mime\"
                 \"update-desktop-database;\${share}/applications\"
                 \"gtk-update-icon-cache;--force;--ignore-theme-index;--quiet;\${share}/icons/hicolor\")
      list(POP_FRONT tool name)
      find_program(found_\${name} \${name})
      if(found_\${name})
        message(STATUS \"Running: \${name} \${tool}\")
        execute_process(COMMAND \${found_\${name}} \${tool})
      endif()
    endforeach()
  endif()" COMPONENT zel)
