# The map control: shapefile layers read with shapelib, drawn with QPainter.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_library(verrane_map STATIC
  ${CMAKE_CURRENT_LIST_DIR}/map_read.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_search.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_render.cpp
  ${CMAKE_CURRENT_LIST_DIR}/map_detail.h
  ${CMAKE_CURRENT_LIST_DIR}/map.h)
target_include_directories(verrane_map PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(verrane_map PUBLIC Qt6::Gui PRIVATE shp)
