# The settings dialog, kept in a library of its own so that the tests can
# drive it without the whole main window.
add_library(q2settings STATIC FormConfig.cpp)
set_target_properties(q2settings PROPERTIES AUTOMOC ON)
target_include_directories(q2settings PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(q2settings PUBLIC q2app q2model Qt6::Widgets)
q2_warnings(q2settings)
