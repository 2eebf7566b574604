# Installs Trivanta as a desktop application (program, menu entry, icons,
# AppStream metadata) and packages it for Debian with CPack.
include(GNUInstallDirs)

set(TRIVANTA_APP_ID org.example.Trivanta)
set(TRIVANTA_ICON_SIZES 16 32 48 64 128)

if(TARGET trivanta)
    install(TARGETS trivanta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

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
include(CPack)
