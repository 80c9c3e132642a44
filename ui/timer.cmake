# The timer control, in a library of its own so that it builds and is tested
# without the rest of the window. The finds sit inside a function so that the
# wxWidgets variables of this folder (set with the webview component) stay as
# they are for the parts included after this one.
add_library(vorlindy_tick_schedule INTERFACE)
target_include_directories(vorlindy_tick_schedule INTERFACE ${CMAKE_CURRENT_LIST_DIR}/..)

function(vorlindy_add_timer_libraries)
  find_package(wxWidgets REQUIRED COMPONENTS core base)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(VORLINDY_TIMER_GLIB REQUIRED IMPORTED_TARGET GLOBAL glib-2.0)

  # vorlindy_timer: the control the window uses (a GLib source under GTK).
  # vorlindy_timer_wxtimer: the portable one-shot wxTimer variant, built here
  # only for its tests.
  foreach(name IN ITEMS vorlindy_timer vorlindy_timer_wxtimer)
    add_library(${name} STATIC ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/timer_control.cpp)
    target_include_directories(${name} SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
    target_compile_definitions(${name} PUBLIC ${wxWidgets_DEFINITIONS}
                                              $<$<CONFIG:Debug>:${wxWidgets_DEFINITIONS_DEBUG}>)
    target_compile_options(${name} PUBLIC ${wxWidgets_CXX_FLAGS})
    target_link_libraries(${name} PUBLIC vorlindy_tick_schedule ${wxWidgets_LIBRARIES})
  endforeach()
  target_link_libraries(vorlindy_timer PRIVATE PkgConfig::VORLINDY_TIMER_GLIB)
  target_compile_definitions(vorlindy_timer_wxtimer PRIVATE VORLINDY_TIMER_USE_WXTIMER)
endfunction()
vorlindy_add_timer_libraries()

target_link_libraries(vorlindy_ui PUBLIC vorlindy_timer)
