q2_test(test_zip_update SOURCES ZipUpdateTest.cpp LIBS q2zipupdateui q2zip Qt6::Test Qt6::Network q2_test_main_gui)
target_compile_definitions(test_zip_update PRIVATE
  Q2_BROKEN_SERVER="${CMAKE_CURRENT_SOURCE_DIR}/servers/broken_http.py"
  Q2_JAPANPOST_FILES="${CMAKE_CURRENT_SOURCE_DIR}/japanpost_files.py")
# Japan Post's published files: conversion, and the update against a real server.
q2_test(test_zip_japanpost SOURCES JapanPostTest.cpp LIBS q2zipupdate)
target_compile_definitions(test_zip_japanpost PRIVATE
  Q2_JAPANPOST_FILES="${CMAKE_CURRENT_SOURCE_DIR}/japanpost_files.py")
q2_test(test_zip_review SOURCES ZipReviewTest.cpp LIBS q2zipupdateui Qt6::Test q2_test_main_gui)
# The review dialog's picture in docs/screenshots; run by hand.
add_executable(zip_screenshots Screenshots.cpp)
target_link_libraries(zip_screenshots PRIVATE q2zipupdateui)
target_compile_definitions(zip_screenshots PRIVATE Q2_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
q2_warnings(zip_screenshots)
if(TARGET q2tool)
  q2_test(test_q2tool_zip_update SOURCES Q2ToolUpdateTest.cpp LIBS q2model q2platform Qt6::Network)
  target_compile_definitions(test_q2tool_zip_update PRIVATE Q2TOOL_PATH="$<TARGET_FILE:q2tool>"
    Q2_JAPANPOST_FILES="${CMAKE_CURRENT_SOURCE_DIR}/japanpost_files.py")
  add_dependencies(test_q2tool_zip_update q2tool)
endif()
# The review offered by the main window after new data.
if(TARGET q2program)
  q2_test(test_zip_review_wiring SOURCES ReviewWiringTest.cpp LIBS q2program Qt6::Test Qt6::Network q2_test_main_gui)
  target_include_directories(test_zip_review_wiring PRIVATE ${PROJECT_SOURCE_DIR}/tests/app)
  target_compile_definitions(test_zip_review_wiring PRIVATE
    Q2_JAPANPOST_FILES="${CMAKE_CURRENT_SOURCE_DIR}/japanpost_files.py")
endif()
