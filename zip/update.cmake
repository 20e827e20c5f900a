# The postal data update: HTTP core (libcurl, libzip) and its dialog.
find_package(PkgConfig REQUIRED)
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
add_library(q2zipupdate STATIC ZipUpdate.cpp JapanPostData.cpp)
target_include_directories(q2zipupdate PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(q2zipupdate PUBLIC q2platform Qt6::Core PRIVATE PkgConfig::CURL PkgConfig::LIBZIP)
q2_warnings(q2zipupdate)

add_library(q2zipupdateui STATIC FormZipUpdate.cpp)
set_target_properties(q2zipupdateui PROPERTIES AUTOMOC ON)
target_link_libraries(q2zipupdateui PUBLIC q2zipupdate q2model Qt6::Widgets)
q2_warnings(q2zipupdateui)

# The book review after a refresh (core) and its dialog.
add_library(q2zipreview STATIC ZipReview.cpp)
target_include_directories(q2zipreview PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(q2zipreview PUBLIC q2model q2platform Qt6::Core)
q2_warnings(q2zipreview)
target_sources(q2zipupdateui PRIVATE FormZipReview.cpp)
target_link_libraries(q2zipupdateui PUBLIC q2zipreview)
