# Installs the "desktop" component of a build into a scratch prefix and checks
# that the menu entry and the 32x32 theme icon land where desktops look.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DSOURCE_DIR=... -P check_desktop_install.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component desktop
                        --prefix ${PREFIX}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "install failed: ${status}")
endif()

set(entry ${PREFIX}/share/applications/vorlindy.desktop)
set(icon ${PREFIX}/share/icons/hicolor/32x32/apps/vorlindy.png)
foreach(pair "${entry}|${SOURCE_DIR}/media/vorlindy.desktop"
             "${icon}|${SOURCE_DIR}/media/assets/vorlindy.png")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 installed)
  list(GET pair 1 original)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${installed} ${original}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${installed} is missing or differs from ${original}")
  endif()
endforeach()

# The entry starts the program and names the icon by its theme name.
file(STRINGS ${entry} lines)
foreach(wanted "[Desktop Entry]" "Type=Application" "Exec=vorlindy" "Icon=vorlindy")
  list(FIND lines "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${entry} lacks the line ${wanted}")
  endif()
endforeach()
