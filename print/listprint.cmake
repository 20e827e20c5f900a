# The address list print: the core draws into any QPainter; the dialogs on top.
add_library(q2listprint STATIC ${CMAKE_CURRENT_LIST_DIR}/ListPrint.cpp)
target_include_directories(q2listprint PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(q2listprint PUBLIC q2print q2model Qt6::Gui)
q2_warnings(q2listprint)

# q2tool is defined later, under tools/; it takes every *.cpp of its folder,
# print-list among them, so it links the list print once it exists.
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL q2_link_listprint_tool)
function(q2_link_listprint_tool)
  if(TARGET q2tool)
    target_link_libraries(q2tool PRIVATE q2listprint)
  endif()
endfunction()

# The list print dialog and the print-type choice before printing.
add_library(q2listprintui STATIC ${CMAKE_CURRENT_LIST_DIR}/FormPrintAllAddressList.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/FormSelectPrintType.cpp)
set_target_properties(q2listprintui PROPERTIES AUTOMOC ON)
target_include_directories(q2listprintui PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(q2listprintui PUBLIC q2listprint q2platform Qt6::Widgets Qt6::PrintSupport)
q2_warnings(q2listprintui)
