# The settings dialog, kept in a library of its own so that the tests can
# drive it without the whole main window.
add_library(q2settings STATIC FormConfig.cpp)
set_target_properties(q2settings PROPERTIES AUTOMOC ON)
target_include_directories(q2settings PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(q2settings PUBLIC q2app q2model Qt6::Widgets)
q2_warnings(q2settings)

# The program proper: every dialog plugged into the main window.
add_library(q2program STATIC DialogWiring.cpp)
target_link_libraries(q2program PUBLIC q2app q2settings q2zipui q2mailui q2exchangeui q2printui)
q2_warnings(q2program)
target_link_libraries(velmora3 PRIVATE q2program)
target_compile_definitions(velmora3 PRIVATE Q2_VERSION="${PROJECT_VERSION}")
