add_test(NAME gui.music_cutoff
         COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/music_cutoff_test.py
                 --build ${PROJECT_BINARY_DIR})
set_tests_properties(gui.music_cutoff PROPERTIES RESOURCE_LOCK display TIMEOUT 120)
