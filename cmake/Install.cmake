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

# Desktop entry and file type; tools/icon draws and installs the icons.
install(FILES data/desktop/quintaro2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/desktop/quintaro2-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME quintaro2.xml)

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
