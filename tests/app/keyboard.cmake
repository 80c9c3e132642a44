add_test(NAME gui.keyboard
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/keyboard_test.py
                 --build ${PROJECT_BINARY_DIR})
set_tests_properties(gui.keyboard PROPERTIES RESOURCE_LOCK display TIMEOUT 120)
