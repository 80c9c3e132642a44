target_sources(vorlindy_ui PRIVATE
  code_page.cpp
  design_reader.cpp
  frame_gtk.cpp
  html_viewer.cpp
  label_control.cpp
  main_window.cpp
  page_address.cpp
  silent_web_view.cpp
  tab_cycle.cpp)
