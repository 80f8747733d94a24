# What `cmake --install` (and `make install`) puts where, in the usual
# layout under the prefix: the game, its menu entry, icons, metadata, manual
# page and documents.
include(GNUInstallDirs)

# Built on the game's web address, quorvex.example; the menu entry, the
# metadata and the icons all carry it.
set(QUORVEX_APP_ID example.quorvex.Quorvex)
set(QUORVEX_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvex)
# Debian keeps games apart from other programs, in /usr/games and
# /usr/local/games; both are on every player's PATH there.
set(QUORVEX_INSTALL_GAMESDIR games CACHE STRING "Where the game goes, under the prefix")

install(TARGETS quorvex RUNTIME DESTINATION ${QUORVEX_INSTALL_GAMESDIR})
install(FILES packaging/${QUORVEX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES packaging/${QUORVEX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
foreach(size 16 32 48 64 128 256)
    install(FILES gfx/icons/quorvex-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUORVEX_APP_ID}.png)
endforeach()

# The manual page and the changelog go out compressed, as Debian asks;
# -n leaves the name and time out so the result is the same on every build.
set(QUORVEX_COMPRESSED)
foreach(document quorvex.6 changelog)
    set(compressed ${CMAKE_BINARY_DIR}/${document}.gz)
    add_custom_command(
        OUTPUT ${compressed}
        COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/packaging/${document} > ${compressed}
        DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${document}
        VERBATIM)
    list(APPEND QUORVEX_COMPRESSED ${compressed})
endforeach()
add_custom_target(quorvex_documents ALL DEPENDS ${QUORVEX_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/quorvex.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# The README with the screenshots it shows, the licence, and the copyright
# file and changelog Debian expects.
install(FILES README.md LICENSE packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${QUORVEX_DOC_DIR})
file(GLOB QUORVEX_SCREENSHOTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/*.png)
install(FILES ${QUORVEX_SCREENSHOTS} DESTINATION ${QUORVEX_DOC_DIR}/docs)
