# The window's toolkit-free parts: the design reader, the tab cycle, address completion.
add_executable(window_logic_test
  design_reader_test.cpp
  tab_cycle_test.cpp
  page_address_test.cpp
  ${PROJECT_SOURCE_DIR}/ui/design_reader.cpp
  ${PROJECT_SOURCE_DIR}/ui/tab_cycle.cpp
  ${PROJECT_SOURCE_DIR}/ui/page_address.cpp)
target_include_directories(window_logic_test PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(window_logic_test PRIVATE vorlindy_design_main GTest::gtest_main)
gtest_discover_tests(window_logic_test)
