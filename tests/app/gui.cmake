# Black-box tests of the whole program on the X display: the shipped binary
# and the test builds from probed.cmake, driven from outside with xdotool.
# They share the one display and window manager, so they never run in parallel.
set(_gui_tests
    test_window
    test_refresh
    test_page_dialogs
    test_lifecycle)
foreach(_gui_test IN LISTS _gui_tests)
  add_test(NAME gui.${_gui_test}
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/${_gui_test}.py
                   --build ${PROJECT_BINARY_DIR})
  set_tests_properties(gui.${_gui_test} PROPERTIES RESOURCE_LOCK display TIMEOUT 180)
endforeach()

add_test(NAME gui.harness_selftest
         COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/support/harness_selftest.py)
set_tests_properties(gui.harness_selftest PROPERTIES RESOURCE_LOCK display TIMEOUT 60)
