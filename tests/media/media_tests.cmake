# Tests of media/: the assets, the clip reader and the player. Each gets its
# own executable so the ALSA ones run in processes of their own.
add_executable(media_assets_test assets_test.cpp)
target_link_libraries(media_assets_test PRIVATE vorlindy_media vorlindy_asset_maker
                      GTest::gtest_main)
target_compile_definitions(media_assets_test
                           PRIVATE VORLINDY_ASSET_DIR="${PROJECT_SOURCE_DIR}/media/assets")
gtest_discover_tests(media_assets_test)

add_executable(media_wave_clip_test wave_clip_test.cpp)
target_link_libraries(media_wave_clip_test PRIVATE vorlindy_media GTest::gtest_main)
gtest_discover_tests(media_wave_clip_test)

add_executable(media_playback_test playback_test.cpp fake_sound_output.cpp)
target_link_libraries(media_playback_test PRIVATE vorlindy_media GTest::gtest_main)
gtest_discover_tests(media_playback_test PROPERTIES TIMEOUT 60)

add_executable(media_alsa_test alsa_playback_test.cpp)
target_link_libraries(media_alsa_test PRIVATE vorlindy_media GTest::gtest_main)
gtest_discover_tests(media_alsa_test PROPERTIES TIMEOUT 60)
