# The address list print: geometry, PDF read back with poppler, the dialogs.
q2_test(test_list_print
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListPrintTest.cpp
  LIBS q2listprint q2print q2model q2platform q2_test_main_gui Qt6::Gui)
target_compile_definitions(test_list_print PRIVATE Q2_TOOL_PATH="$<TARGET_FILE:q2tool>")
add_dependencies(test_list_print q2tool)

q2_test(test_list_print_dialog
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListPrintDialogTest.cpp
  LIBS q2listprintui q2listprint q2print q2model q2platform q2_test_main_gui Qt6::Test)

# Draws docs/print-gallery/list-type*.png and docs/screenshots/list-print-*.png; not a test.
add_executable(list_print_gallery ${CMAKE_CURRENT_LIST_DIR}/ListPrintGallery.cpp)
target_link_libraries(list_print_gallery PRIVATE q2listprintui q2listprint q2model Qt6::Widgets)
target_compile_definitions(list_print_gallery PRIVATE Q2_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
q2_warnings(list_print_gallery)

# Prints through a private cupsd into a cups-pdf queue; skipped unless root.
q2_test(test_list_print_cups
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ListPrintCupsTest.cpp
  LIBS q2listprintui q2listprint q2print q2model q2platform q2_test_main_gui Qt6::Test)
