# The timer control against its grid, next to a plain wxTimer and a bare
# timerfd loop. Run on demand under an X display: tick_bench [N at 1000 ms] [N at 100 ms]
if(TARGET vorlindy_timer)
  add_executable(tick_bench ${CMAKE_CURRENT_LIST_DIR}/tick_bench.cpp)
  target_link_libraries(tick_bench PRIVATE vorlindy_timer)
endif()
