# The toolkit side of media/: the window's icons and the desktop files.
if(VORLINDY_GUI)
  add_executable(media_window_icons_test window_icons_test.cpp)
  target_link_libraries(media_window_icons_test PRIVATE vorlindy_media_icons GTest::gtest_main)
  target_compile_definitions(media_window_icons_test
                             PRIVATE VORLINDY_ASSET_DIR="${PROJECT_SOURCE_DIR}/media/assets")
  gtest_discover_tests(media_window_icons_test
                       PROPERTIES RESOURCE_LOCK display ENVIRONMENT "NO_AT_BRIDGE=1;GDK_BACKEND=x11")

  add_test(NAME media_desktop_install
           COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
                   -DPREFIX=${CMAKE_CURRENT_BINARY_DIR}/desktop-install
                   -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                   -P ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check_desktop_install.cmake)
endif()
