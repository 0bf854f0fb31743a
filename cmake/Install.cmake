# Installing Quillory: `cmake --install build --prefix P` (or `make install PREFIX=P`) puts the
# programs in P/bin, the read-only data that `make dist` puts beside a portable copy (icon
# libraries, the main dictionary, the help pages) in P/share/quillory, and the desktop's entries:
# a .desktop file, the icon in the hicolor theme, AppStream metadata and the manual page.
# An installed copy keeps the diary in the user's data folder (platform/ProgramFolder).
# `cpack -G DEB` in the build folder makes a Debian package of the same files.
include(GNUInstallDirs)
# Installing and packaging take what the build made (`make install` and the README build first);
# without this, every `cpack` would walk the whole build again before copying a file.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(QUILLORY_APP_ID org.quillory.Quillory)
set(packaging ${CMAKE_CURRENT_SOURCE_DIR}/packaging)

# The application icon at the theme's sizes, drawn from its SVG at build time.
add_executable(make-app-icons tools/appicon/MakeAppIcons.cpp)
target_link_libraries(make-app-icons PRIVATE Qt6::Gui)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/app-icons/256x256/apps/quillory.png
                   COMMAND make-app-icons ${packaging}/quillory.svg ${CMAKE_BINARY_DIR}/app-icons
                   DEPENDS make-app-icons ${packaging}/quillory.svg
                   COMMENT "Drawing the application icon")
# The manual page, compressed as Debian keeps them.
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/quillory-cli.1.gz
                   COMMAND ${GZIP_PROGRAM} -9nc ${packaging}/quillory-cli.1 > ${CMAKE_BINARY_DIR}/quillory-cli.1.gz
                   DEPENDS ${packaging}/quillory-cli.1
                   COMMENT "Compressing the manual page")
add_custom_target(install-files ALL DEPENDS ${CMAKE_BINARY_DIR}/app-icons/256x256/apps/quillory.png
                                            ${CMAKE_BINARY_DIR}/quillory-cli.1.gz)

install(TARGETS quillory quillory-cli quillory-cli-full RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/dist-data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quillory)
install(FILES ${packaging}/${QUILLORY_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${QUILLORY_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/app-icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${packaging}/quillory.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_BINARY_DIR}/quillory-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package. The libraries the programs link come from dpkg-shlibdeps; what Qt loads at
# run time (the display and image plugins) and the fonts entries name are declared by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillory)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillory developers <quillory@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "diary with one rich-text entry for every day")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillory keeps a diary: every calendar day has a page of its own, written in a word\n processor with fonts, pictures and icons, searchable, printable and protected by a\n password. quillory-cli reads, searches and exports the entries from the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins, libqt6svg6, fonts-liberation")
# Fonts for every script an entry may hold: Noto covers Latin, Greek, Cyrillic, Hebrew, Arabic,
# Devanagari and Thai, Droid Sans Fallback Chinese and Japanese, Nanum Korean, Noto Color Emoji the emoji.
# qt6-gtk-platformtheme lets the window follow the desktop's light or dark colour scheme.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme, tango-icon-theme, fonts-wine, fonts-noto-core, fonts-droid-fallback, fonts-nanum, fonts-noto-color-emoji")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quillory)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
