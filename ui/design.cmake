# The design document, kept apart from vorlindy_ui so a test build can carry another.
add_library(vorlindy_design_main STATIC)
vorlindy_embed(vorlindy_design_main ${CMAKE_CURRENT_SOURCE_DIR}/main_window.design
               vorlindy::kMainWindowDesign)
