# Installation (cmake --install) et paquet Debian (cpack -G DEB, scripts/paquet.sh).
# Les fichiers du bureau, du manuel et de systemd sont dans installation/.

include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(SOURCES_INSTALLATION ${CMAKE_SOURCE_DIR}/installation)
set(DOC_PAQUET ${CMAKE_INSTALL_DATADIR}/doc/emporteur)

install(TARGETS emporteur emporteur-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${SOURCES_INSTALLATION}/emporteur.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${SOURCES_INSTALLATION}/example.mervane.Emporteur.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(taille 16 32 48 64 128 256)
  install(FILES ${SOURCES_INSTALLATION}/icones/emporteur-${taille}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${taille}x${taille}/apps
          RENAME emporteur.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/src/fenetres/images/emporteur.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${SOURCES_INSTALLATION}/completion/emporteur-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Pages de manuel et journal des changements compressés comme Debian les veut :
# gzip -9 sans nom ni date, donc reproductibles.
find_program(GZIP gzip REQUIRED)
set(compresses)
foreach(source man/emporteur.1 man/emporteur-cli.1 changelog)
  get_filename_component(nom ${source} NAME)
  set(sortie ${CMAKE_BINARY_DIR}/installation/${nom}.gz)
  add_custom_command(OUTPUT ${sortie}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/installation
    COMMAND ${GZIP} -9nc ${SOURCES_INSTALLATION}/${source} > ${sortie}
    DEPENDS ${SOURCES_INSTALLATION}/${source} VERBATIM)
  list(APPEND compresses ${sortie})
endforeach()
add_custom_target(fichiers_installation ALL DEPENDS ${compresses})
install(FILES ${CMAKE_BINARY_DIR}/installation/emporteur.1.gz
              ${CMAKE_BINARY_DIR}/installation/emporteur-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/installation/changelog.gz ${SOURCES_INSTALLATION}/copyright
        DESTINATION ${DOC_PAQUET})

# Unités systemd de l'utilisateur : installées, jamais activées par le paquet. Le chemin
# d'ExecStart est fixé à l'installation, pour suivre cmake --install --prefix et cpack.
install(CODE "
  set(CMAKE_INSTALL_FULL_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  configure_file(\"${SOURCES_INSTALLATION}/systemd/emporteur-verification.service.in\"
                 \"${CMAKE_BINARY_DIR}/installation/emporteur-verification.service\" @ONLY)")
install(FILES ${CMAKE_BINARY_DIR}/installation/emporteur-verification.service
              ${SOURCES_INSTALLATION}/systemd/emporteur-verification.timer
        DESTINATION lib/systemd/user)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME emporteur)
set(CPACK_PACKAGE_VENDOR Mervane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Mervane <emporteur@mervane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "téléchargeur des mises à jour d'Orthalis")
# Le résumé fait la première ligne de Description ; ceci, le texte long.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Emporteur télécharge les installateurs des mises à jour et des mises à
niveau d'Orthalis, le produit de Mervane, par segments vérifiés par leur
CRC-32 : un transfert interrompu reprend sans redemander ce qui est vérifié.
.
Le paquet contient l'assistant à fenêtres (emporteur), l'outil en ligne de
commande (emporteur-cli) et un minuteur systemd de l'utilisateur, non
activé, pour une vérification quotidienne des nouveautés.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.mervane.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Le greffon d'affichage et les traductions de Qt sont chargés à l'exécution :
# dpkg-shlibdeps ne les voit pas. xdg-open ouvre le dossier et lance l'installateur.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
