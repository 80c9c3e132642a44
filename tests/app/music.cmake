add_test(NAME gui.music
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/music_test.py
                 --build ${PROJECT_BINARY_DIR})
set_tests_properties(gui.music PROPERTIES RESOURCE_LOCK display TIMEOUT 120)
