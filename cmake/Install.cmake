# Installation, as the build tree lays it out: the program folder lib/tavimrok holds both
# executables with the picture archive and the manual beside them (the program finds them
# through its own real path, so the links in bin/ work); then the desktop entry, the icons,
# the AppStream metainfo, the manual pages, the machine settings file naming the program
# folder, and the package's copyright and changelog. The build tree's portable mark is not
# installed: an installed program keeps its data per user.
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

# Manual pages and the changelog compressed as Debian wants them (-n: no time stamp inside).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(packed_docs)
foreach(doc man/tavimrok.1 man/tavimrok-cli.1 package/changelog)
  get_filename_component(name ${doc} NAME)
  set(packed ${CMAKE_BINARY_DIR}/packed-docs/${name}.gz)
  add_custom_command(
    OUTPUT ${packed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packed-docs
    COMMAND ${GZIP_PROGRAM} -9nc ${CMAKE_SOURCE_DIR}/resources/${doc} > ${packed}
    DEPENDS ${CMAKE_SOURCE_DIR}/resources/${doc}
    VERBATIM)
  list(APPEND packed_docs ${packed})
endforeach()
add_custom_target(packed_docs ALL DEPENDS ${packed_docs})
install(FILES ${CMAKE_BINARY_DIR}/packed-docs/tavimrok.1.gz ${CMAKE_BINARY_DIR}/packed-docs/tavimrok-cli.1.gz
        DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/resources/package/copyright ${CMAKE_BINARY_DIR}/packed-docs/changelog.gz
        DESTINATION share/doc/tavimrok)

# The machine settings file: AppDir names the installed program folder, so that even a copy
# run as root, whose program folder is writable, keeps its data per user. Written when
# installing, because only then is the prefix known (cmake --install --prefix, cpack).
set(machine_settings ${CMAKE_BINARY_DIR}/install-etc/tavimrok.ini)
install(CODE "file(WRITE \"${machine_settings}\" \"AppDir=\${CMAKE_INSTALL_PREFIX}/${KZM_PROGRAM_FOLDER}\\r\\n\")")
install(FILES ${machine_settings} DESTINATION /etc/xdg/Orvik)

# Debian package: the libraries' packages worked out from the binaries (dpkg-shlibdeps), and
# what the program needs beside them at run time.
set(CPACK_PACKAGE_NAME tavimrok)
set(CPACK_PACKAGE_VENDOR "${KZM_COMPANY_NAME}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "household account book with a Japanese interface")
# Lines under 80 columns: CPack keeps the line breaks.
set(CPACK_PACKAGE_DESCRIPTION [=[
A passbook in which one records, day by day, the money paid out, received and
moved between one's own accounts, with a memo per day. It shows each accounting
month as a table with running balances and a chart of its payments, and
searches any period with CSV export and printed lists.
It also imports bank and card statements (CSV) with a duplicate check and
undo, enters recurring entries, keeps budgets with a year report, backs each
passbook up into zip files and restores them, and follows credit cards with
their closing and payment days and a forecast of the coming balances.
Its interface is Japanese (もるぽ通帳). The command-line companion
tavimrok-cli reads and writes the same files.]=])
set(CPACK_PACKAGE_CONTACT "${KZM_COMPANY_NAME} <tavimrok@orvik.jp>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Japanese fonts the windows are drawn with, Qt's Japanese texts for its own dialogs, and
# the platform plugins without which no window opens; libzip, which writes and reads the
# backups, named as well so that a package built without dpkg-shlibdeps still pulls it in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, fonts-ipafont-mincho, qt6-translations-l10n, qt6-qpa-plugins, libzip4")
# xdg-open shows the manual and the backup folder; without it the program shows the manual
# in a window of its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
# The machine settings file is the administrator's to change; upgrades keep their change.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/resources/package/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
