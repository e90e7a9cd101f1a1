# The report engine: sections of items in twips, layout, PDF and printing.
# Qt Gui and PrintSupport only, so headless programs can produce reports.
find_package(Qt6 REQUIRED COMPONENTS Gui PrintSupport)
add_library(verrane_report STATIC
  ${CMAKE_CURRENT_LIST_DIR}/report.cpp)
target_include_directories(verrane_report PUBLIC "${CMAKE_CURRENT_LIST_DIR}/..")
target_compile_features(verrane_report PUBLIC cxx_std_20)
target_link_libraries(verrane_report PUBLIC Qt6::Gui Qt6::PrintSupport verrane_output_file)
