add_executable(tick_schedule_test ${CMAKE_CURRENT_LIST_DIR}/tick_schedule_test.cpp)
target_link_libraries(tick_schedule_test PRIVATE vorlindy_tick_schedule GTest::gtest_main)
gtest_discover_tests(tick_schedule_test)

# The same tests run against the control the window uses and against its
# portable one-shot wxTimer variant. They need the X display.
add_executable(timer_control_test ${CMAKE_CURRENT_LIST_DIR}/timer_control_test.cpp)
target_link_libraries(timer_control_test PRIVATE vorlindy_timer GTest::gtest)
gtest_discover_tests(timer_control_test PROPERTIES RESOURCE_LOCK display)

add_executable(timer_control_wxtimer_test ${CMAKE_CURRENT_LIST_DIR}/timer_control_test.cpp)
target_link_libraries(timer_control_wxtimer_test PRIVATE vorlindy_timer_wxtimer GTest::gtest)
gtest_discover_tests(timer_control_wxtimer_test TEST_PREFIX wxtimer. PROPERTIES RESOURCE_LOCK display)
