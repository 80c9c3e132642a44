# libFuzzer target for the clip reader; libFuzzer comes with clang only.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_executable(clip_reader_fuzz clip_reader.cpp ${PROJECT_SOURCE_DIR}/media/wave_clip.cpp)
  target_include_directories(clip_reader_fuzz PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_options(clip_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined
                                                  -fno-sanitize-recover=all)
  target_link_options(clip_reader_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
endif()
