# Installing the game, included by the top-level CMakeLists.txt. The program goes to
# bin (games for a Debian package), the data files to share/tarvellion, where the
# program finds them from its own folder (../share/tarvellion), with the desktop entry,
# the AppStream metadata, the icons and the manual page where desktops, software
# centres and man look. Every rule is in the component "tarvellion", so a test can
# install the game alone without touching the manifest (install_manifest.txt) of a
# real install.
include(GNUInstallDirs)
include(${CMAKE_SOURCE_DIR}/tools/generated_assets.cmake)

set(TARVELLION_INSTALL_COMPONENT tarvellion)

# The program looks for its data this way from its own folder.
file(RELATIVE_PATH tarvellion_data_from_program ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/tarvellion)
target_compile_definitions(tarvellion_platform
                           PRIVATE TARVELLION_INSTALLED_DATA="${tarvellion_data_from_program}")

install(TARGETS tarvellion
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT ${TARVELLION_INSTALL_COMPONENT})

set(tarvellion_data_paths ${TARVELLION_GAME_DATA} ${TARVELLION_RECORDED_DATA})
list(TRANSFORM tarvellion_data_paths PREPEND ${CMAKE_SOURCE_DIR}/data/)
install(FILES ${tarvellion_data_paths}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tarvellion
        COMPONENT ${TARVELLION_INSTALL_COMPONENT})

# Desktops and software centres know the game by one id: the desktop entry and the
# metadata carry it in their names.
set(TARVELLION_APP_ID org.tarvellion.Tarvellion)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TARVELLION_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
        COMPONENT ${TARVELLION_INSTALL_COMPONENT})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TARVELLION_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT ${TARVELLION_INSTALL_COMPONENT})

# One picture drawn for each size, under the name the desktop entry asks for.
foreach(size IN LISTS TARVELLION_ICON_SIZES)
  install(FILES ${CMAKE_SOURCE_DIR}/data/tarvellion-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME tarvellion.png
          COMPONENT ${TARVELLION_INSTALL_COMPONENT})
endforeach()

# The manual page carries the version of the project() line.
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarvellion.6.in ${CMAKE_BINARY_DIR}/tarvellion.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/tarvellion.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6
        COMPONENT ${TARVELLION_INSTALL_COMPONENT})
