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

# Manual pages, bash completion and the software centres' description.
set(q2_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(q2_packaging_out ${PROJECT_BINARY_DIR}/packaging)
# Manual pages and the changelog are installed compressed, without a time stamp.
set(q2_compressed)
foreach(source man/velmora3.1 man/q2tool.1 debian/changelog)
  get_filename_component(name ${source} NAME)
  set(out ${q2_packaging_out}/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${q2_packaging_out}
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${q2_packaging}/${source} ${out}
    DEPENDS ${q2_packaging}/${source} VERBATIM)
  list(APPEND q2_compressed ${out})
endforeach()
add_custom_target(q2_packaging_files ALL DEPENDS ${q2_compressed})
install(FILES ${q2_packaging_out}/velmora3.1.gz ${q2_packaging_out}/q2tool.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${q2_packaging}/bash-completion/q2tool
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${q2_packaging}/jp.zabelle.quintaro2.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Every package carries the copyright file and the changelog, and the
# justification of what lintian is told to accept.
foreach(package quintaro2 liblumika1 liblumika-dev)
  install(FILES ${q2_packaging}/copyright ${q2_packaging_out}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${package})
  if(EXISTS ${q2_packaging}/lintian/${package})
    install(FILES ${q2_packaging}/lintian/${package}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT ${package})
  endif()
endforeach()

# The Debian packages quintaro2, liblumika1 and liblumika-dev are made from
# a built tree by packaging/make-debs.sh.
