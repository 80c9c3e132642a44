# The generator of the window icon and the music clip. The committed files in
# assets/ are its output; `cmake --build <dir> --target vorlindy_remake_assets`
# writes them again, and a test checks that they still match.
add_library(vorlindy_asset_maker STATIC
  tools/icon_files.cpp
  tools/icon_picture.cpp
  tools/tune.cpp
  tools/wave_file.cpp)
target_include_directories(vorlindy_asset_maker PUBLIC ${PROJECT_SOURCE_DIR})
# Fused multiply-adds would round differently from one machine to the next.
target_compile_options(vorlindy_asset_maker PRIVATE -ffp-contract=off)

add_executable(vorlindy_make_assets tools/make_assets.cpp)
target_link_libraries(vorlindy_make_assets PRIVATE vorlindy_asset_maker)

add_custom_target(vorlindy_remake_assets
  COMMAND vorlindy_make_assets ${CMAKE_CURRENT_SOURCE_DIR}/assets
  COMMENT "Writing media/assets/ again"
  VERBATIM)
