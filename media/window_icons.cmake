# The toolkit side of media/: the window's icons, and the desktop entry with
# the same picture installed as the application's icon. Only with the GUI, so
# the rest of media/ builds without wxWidgets.
if(VORLINDY_GUI)
  find_package(wxWidgets REQUIRED COMPONENTS core base)
  add_library(vorlindy_media_icons STATIC window_icons.cpp)
  # The toolkit's flags go on this target alone (not the folder), keeping
  # wxWidgets out of vorlindy_media.
  target_include_directories(vorlindy_media_icons SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
  target_compile_definitions(vorlindy_media_icons PUBLIC ${wxWidgets_DEFINITIONS})
  target_compile_options(vorlindy_media_icons PUBLIC ${wxWidgets_CXX_FLAGS})
  target_link_libraries(vorlindy_media_icons PUBLIC vorlindy_media ${wxWidgets_LIBRARIES})

  include(GNUInstallDirs)
  install(FILES vorlindy.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          COMPONENT desktop)
  install(FILES assets/vorlindy.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
          COMPONENT desktop)
endif()
