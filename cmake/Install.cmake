# Installation layout, desktop integration and the Debian package.

# What a new data folder starts with, and the sample book.
set(q2_share ${CMAKE_INSTALL_DATADIR}/quintaro2)
install(FILES data/category_1.dat data/category_2.dat data/nametitle.dat DESTINATION ${q2_share})
foreach(optional paper.cfg sample.QT2)
  if(EXISTS ${PROJECT_SOURCE_DIR}/data/${optional})
    install(FILES data/${optional} DESTINATION ${q2_share})
  endif()
endforeach()
install(DIRECTORY data/zip DESTINATION ${q2_share} FILES_MATCHING PATTERN "*.dat" PATTERN "*.txt")

# Desktop entry, file type and icons.
install(FILES data/desktop/quintaro2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/desktop/quintaro2-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME quintaro2.xml)
if(NOT Q2_FUZZ)
  add_executable(make-icon tools/icon/MakeIcon.cpp)
  target_link_libraries(make-icon PRIVATE Qt6::Gui)
  q2_warnings(make-icon)
  set(q2_icon_dir ${CMAKE_BINARY_DIR}/icons)
  set(q2_icon_sizes 16 22 24 32 48 64 128 256)
  set(q2_icons)
  foreach(size ${q2_icon_sizes})
    list(APPEND q2_icons ${q2_icon_dir}/quintaro2-${size}.png)
  endforeach()
  add_custom_command(OUTPUT ${q2_icons}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${q2_icon_dir}
    COMMAND make-icon ${q2_icon_dir}
    DEPENDS make-icon COMMENT "Drawing the program icon")
  add_custom_target(q2_icons ALL DEPENDS ${q2_icons})
  foreach(size ${q2_icon_sizes})
    install(FILES ${q2_icon_dir}/quintaro2-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quintaro2.png)
  endforeach()
endif()

# cpack -G DEB
set(CPACK_PACKAGE_NAME quintaro2)
set(CPACK_PACKAGE_VENDOR "Zabelle")
set(CPACK_PACKAGE_CONTACT "Zabelle <support@zabelle.jp>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese address book with postcard and label printing")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The toolbar pictures and the window icon are SVG (Qt's SVG plugins); the
# record pictures may be JPEG or BMP through the image-format plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, libqt6svg6, qt6-image-formats-plugins")
# Qt's own dialogs speak Japanese only with the translations installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups, qt6-translations-l10n, xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
