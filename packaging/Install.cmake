# Installs Trivanta as a desktop application (program, menu entry, icons,
# AppStream metadata, manual page) and packages it for Debian with CPack.
include(GNUInstallDirs)

set(TRIVANTA_APP_ID org.example.Trivanta)
set(TRIVANTA_ICON_SIZES 16 32 48 64 128)

# Games go to games/ beside bin/, as Debian wants them; a desktop session's
# PATH has /usr/games and /usr/local/games.
if(TARGET trivanta)
    install(TARGETS trivanta RUNTIME DESTINATION games)
endif()

# The manual page and the changelog compressed as Debian expects them, with
# neither name nor time stamp in the gzip header, so the bytes depend on the
# text alone.
find_program(GZIP_PROGRAM gzip REQUIRED)
configure_file(${CMAKE_CURRENT_LIST_DIR}/trivanta.6.in ${CMAKE_BINARY_DIR}/trivanta.6 @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/trivanta.6.gz
    COMMAND ${GZIP_PROGRAM} -9nkf ${CMAKE_BINARY_DIR}/trivanta.6
    DEPENDS ${CMAKE_BINARY_DIR}/trivanta.6 VERBATIM)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_BINARY_DIR}/changelog
    COMMAND ${GZIP_PROGRAM} -9nkf ${CMAKE_BINARY_DIR}/changelog
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog VERBATIM)
add_custom_target(compressed_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/trivanta.6.gz
                                               ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/trivanta.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# A native package: its changelog is changelog.gz, beside the licence in
# Debian's machine-readable form.
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz ${CMAKE_CURRENT_LIST_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/trivanta)

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TRIVANTA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The release in the metadata is the project's version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/${TRIVANTA_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${TRIVANTA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${TRIVANTA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The drawn icons carry the program's short name; the theme wants the
# application id, which the desktop entry names. A missing icon stops the
# install, not the configure step.
foreach(size IN LISTS TRIVANTA_ICON_SIZES)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/hicolor/${size}x${size}/apps/trivanta.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${TRIVANTA_APP_ID}.png)
endforeach()

# cpack -G DEB (or the "package" target) builds trivanta_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trivanta)
set(CPACK_PACKAGE_VENDOR "Trivanta Team")
set(CPACK_PACKAGE_CONTACT "Trivanta Team <trivanta@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "briscola against the computer")
set(CPACK_PACKAGE_DESCRIPTION
    "Trivanta is briscola, the Italian two-player card game, played against\n\
the computer with the 40-card Italian deck. All texts of the game are in\n\
Italian.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.example.org/trivanta")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Trivanta Team <trivanta@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the program links come from dpkg-shlibdeps; Qt's xcb platform
# plugin and GIF reader ship in libqt6gui6, which that already names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's translations: the buttons of the boxes in the system's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
# On a Wayland desktop the game runs natively with Qt's Wayland platform
# plugin, and through XWayland without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
include(CPack)
