# The window's assets and the background music player. Standard library and
# ALSA only; the toolkit part is in window_icons.cmake.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)

add_library(vorlindy_media STATIC
  alsa_output.cpp
  assets.cpp
  clip_feed.cpp
  playback.cpp
  stop_signal.cpp
  wave_clip.cpp)
target_include_directories(vorlindy_media PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(vorlindy_media PRIVATE PkgConfig::ALSA PUBLIC Threads::Threads)
vorlindy_embed(vorlindy_media assets/vorlindy.ico vorlindy::embedded::window_icon)
vorlindy_embed(vorlindy_media assets/music.wav vorlindy::embedded::music_clip)
