# The Windows program's resources: the window icon as the program's icon (a
# multi-size .ico packed at build time from the icon's PNGs), the version
# information from project(VERSION) and the manifest.
set(TRIVANTA_WINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR})

function(trivanta_windows_resources target)
    set(icons)
    foreach(size 16 32 48 64 128 256)
        set(png ${PROJECT_SOURCE_DIR}/assets/icons/hicolor/${size}x${size}/apps/trivanta.png)
        if(EXISTS ${png})
            list(APPEND icons ${png})
        endif()
    endforeach()
    set(TRIVANTA_ICO ${CMAKE_CURRENT_BINARY_DIR}/trivanta.ico)
    add_custom_command(OUTPUT ${TRIVANTA_ICO}
        COMMAND ${TRIVANTA_WINDOWS_DIR}/make-ico.sh ${TRIVANTA_ICO} ${icons}
        DEPENDS ${TRIVANTA_WINDOWS_DIR}/make-ico.sh ${icons}
        COMMENT "Packing the program's icon"
        VERBATIM)

    set(TRIVANTA_MANIFEST ${TRIVANTA_WINDOWS_DIR}/trivanta.manifest)
    # "1.0" is 1.0.0.0 in the four numbers that Windows shows.
    set(TRIVANTA_VERSION_PATCH 0)
    if(PROJECT_VERSION_PATCH)
        set(TRIVANTA_VERSION_PATCH ${PROJECT_VERSION_PATCH})
    endif()
    set(TRIVANTA_PUBLISHER "Trivanta Team")
    set(TRIVANTA_DESCRIPTION "Trivanta")
    set(TRIVANTA_COPYRIGHT "Copyright (c) 2026 Trivanta Team")
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/trivanta.rc)
    configure_file(${TRIVANTA_WINDOWS_DIR}/trivanta.rc.in ${rc} @ONLY)
    # windres reads the icon and the manifest named in the script.
    set_source_files_properties(${rc} PROPERTIES
        OBJECT_DEPENDS "${TRIVANTA_ICO};${TRIVANTA_MANIFEST}")
    target_sources(${target} PRIVATE ${rc} ${TRIVANTA_ICO})
    qt_add_resources(${target} "qtconf" PREFIX "/qt/etc" BASE ${TRIVANTA_WINDOWS_DIR}
                     FILES ${TRIVANTA_WINDOWS_DIR}/qt.conf)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
endfunction()
