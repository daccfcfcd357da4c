# Installation, as the build tree lays it out: the program folder lib/tavimrok holds both
# executables with the picture archive and the manual beside them (the program finds them
# through its own real path, so the links in bin/ work); then the desktop entry, the icons,
# the AppStream metainfo and the manual page of tavimrok-cli.
#   cmake --install build --prefix /usr/local
# The Debian package is made from the same rules: (cd build && cpack -G DEB).
set(KZM_PROGRAM_FOLDER lib/tavimrok)

install(TARGETS tavimrok tavimrok-cli RUNTIME DESTINATION ${KZM_PROGRAM_FOLDER})
install(FILES ${CMAKE_BINARY_DIR}/bin/zevazuvu.arc ${CMAKE_SOURCE_DIR}/resources/help/tavimrok_s.html
        DESTINATION ${KZM_PROGRAM_FOLDER})

# Relative links, so that the installed tree can be moved (DESTDIR, packages).
set(link_folder ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${link_folder})
foreach(exe tavimrok tavimrok-cli)
  file(CREATE_LINK ../${KZM_PROGRAM_FOLDER}/${exe} ${link_folder}/${exe} SYMBOLIC)
  install(FILES ${link_folder}/${exe} DESTINATION bin)
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/resources/jp.orvik.tavimrok.desktop DESTINATION share/applications)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/icons/hicolor DESTINATION share/icons)
install(FILES ${CMAKE_SOURCE_DIR}/resources/jp.orvik.tavimrok.metainfo.xml DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/resources/man/tavimrok-cli.1 DESTINATION share/man/man1)

# Debian package: the libraries' packages worked out from the binaries (dpkg-shlibdeps), and
# what the program needs beside them at run time.
set(CPACK_PACKAGE_NAME tavimrok)
set(CPACK_PACKAGE_VENDOR "${KZM_COMPANY_NAME}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "household account book with a Japanese interface")
set(CPACK_PACKAGE_DESCRIPTION
    "A passbook in which one records, day by day, the money paid out, received and moved between one's own accounts, with a table of each accounting month, a chart of its payments, and searches with CSV export and printed lists. Its interface is Japanese (もるぽ通帳). The command-line companion tavimrok-cli reads the same files.")
set(CPACK_PACKAGE_CONTACT "${KZM_COMPANY_NAME} <tavimrok@orvik.jp>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Japanese fonts the windows are drawn with, Qt's Japanese texts for its own dialogs, and
# the platform plugins without which no window opens; libzip, which writes and reads the
# backups, named as well so that a package built without dpkg-shlibdeps still pulls it in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, qt6-qpa-plugins, libzip4")
set(CPACK_STRIP_FILES ON)
include(CPack)
