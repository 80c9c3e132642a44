# Includes every *.cmake file of the current source folder, in name order, so
# each component can register its own sources, tests or benchmarks.
macro(vorlindy_include_parts)
  file(GLOB _parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  list(SORT _parts)
  foreach(_part IN LISTS _parts)
    include(${_part})
  endforeach()
endmacro()
