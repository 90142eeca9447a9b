# What `cmake --install` lays out, and the Debian package CPack builds from it.
#   bin/korvane-driver, bin/korvanectl
#   share/korvane-driver/      the read-only resources and the Default_ files
#   share/applications, share/metainfo, share/icons/hicolor, share/man/man1,
#   share/bash-completion/completions, the udev rule, the package's doc files.
# Nothing here depends on the build machine's locale: files are copied as they
# are in the repository, and the compressed ones are made with fixed options.
include(GNUInstallDirs)

set(KORVANE_DATA_DEST ${CMAKE_INSTALL_DATADIR}/korvane-driver)
set(KORVANE_LINUX ${PROJECT_SOURCE_DIR}/dist/linux)
set(KORVANE_APP_ID org.korvane.KorvaneDriver)
# Where udev reads the rules a package ships.
set(KORVANE_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING "udev rules folder, relative to the prefix")

install(TARGETS korvane-driver korvanectl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/dist/skins ${PROJECT_SOURCE_DIR}/dist/Language
        DESTINATION ${KORVANE_DATA_DEST}
        PATTERN ".gitkeep" EXCLUDE)
# Only the factory copies: the live files are made per user at the first start.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/dist/configure ${PROJECT_SOURCE_DIR}/dist/data
        DESTINATION ${KORVANE_DATA_DEST}
        FILES_MATCHING PATTERN "Default_*.ini")
install(FILES ${PROJECT_SOURCE_DIR}/dist/VQX_A.sui ${PROJECT_SOURCE_DIR}/dist/VQX_B.sui
              ${PROJECT_SOURCE_DIR}/dist/wait.gif
        DESTINATION ${KORVANE_DATA_DEST})

install(FILES ${KORVANE_LINUX}/${KORVANE_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KORVANE_LINUX}/${KORVANE_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KORVANE_LINUX}/icons/korvane-driver.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${KORVANE_LINUX}/icons/${size}x${size}/korvane-driver.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${KORVANE_LINUX}/korvanectl.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME korvanectl)
install(FILES ${KORVANE_LINUX}/60-korvane-driver.rules DESTINATION ${KORVANE_UDEV_RULES_DIR})

# Man pages and the changelog go compressed, as Debian wants them; gzip -n
# keeps names and times out, so the bytes depend only on the sources.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(compressed)
foreach(source ${KORVANE_LINUX}/korvane-driver.1 ${PROJECT_SOURCE_DIR}/docs/korvanectl.1
               ${KORVANE_LINUX}/changelog)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
    COMMAND ${GZIP_EXECUTABLE} -n -9 -c ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND compressed ${output})
endforeach()
add_custom_target(korvane_packaging_files ALL DEPENDS ${compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/korvane-driver.1.gz
              ${CMAKE_CURRENT_BINARY_DIR}/packaging/korvanectl.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz ${KORVANE_LINUX}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korvane-driver)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvane-driver)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KorvaneDriver developers")
set(CPACK_PACKAGE_CONTACT "KorvaneDriver developers <dev@korvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for a USB gaming mouse")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "KorvaneDriver shows the mouse's five modes (button functions, report rate,\n\
DPI steps, lighting and vibration) and its ten macros in one skinned window,\n\
keeps them in INI files and writes them to the mouse. korvanectl works on\n\
the same files from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://korvane.org/korvane-driver")
# The libraries from dpkg-shlibdeps; the fonts the window draws its texts in;
# libXi and GIO, which the pointer settings load at the first Apply, so the
# library check cannot see them (GIO 2.40 for g_settings_schema_has_key).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-noto-cjk, fonts-liberation2, libxi6, libglib2.0-0 (>= 2.40)")
# Qt's own texts in the user's language; without them they stay English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
