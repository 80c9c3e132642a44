# Test builds of the program: the same program with observation points, and one
# that carries a broken window design.
add_library(vorlindy_design_broken STATIC)
vorlindy_embed(vorlindy_design_broken ${CMAKE_CURRENT_SOURCE_DIR}/broken.design
               vorlindy::kMainWindowDesign)

vorlindy_add_program(vorlindy-probed vorlindy_design_main
                     ${CMAKE_CURRENT_SOURCE_DIR}/probe_log.cpp)
vorlindy_add_program(vorlindy-broken-design vorlindy_design_broken
                     ${CMAKE_CURRENT_SOURCE_DIR}/probe_log.cpp)
