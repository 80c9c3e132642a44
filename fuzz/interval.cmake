# libFuzzer target for the interval conversion. The conversion's sources are
# compiled into the target itself so that they get the fuzzer's coverage
# instrumentation and the sanitizers too; libFuzzer needs clang.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  file(GLOB _interval_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/refresh/interval*.cpp)
  add_executable(interval_fuzz interval_fuzz.cpp ${_interval_sources})
  target_include_directories(interval_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(interval_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
                                               -fno-sanitize-recover=all)
  target_link_options(interval_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
