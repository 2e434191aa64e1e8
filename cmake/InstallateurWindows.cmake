# L'installateur Windows : makensis (paquet nsis) emballe emporteur.exe, emporteur-cli.exe
# et emporteur-verification.exe dans Emporteur-<version>-installation.exe, dans build-win.
# Le tout est remis à la fin de la configuration : emporteur.exe peut être déclaré plus
# loin (et les fonctions des niveaux aussi), et tant qu'il ne l'est pas, le test
# d'aller-retour tourne sur des remplaçants.
function(emporteur_installateur_windows)
  # Ce que lance la valeur Run : emporteur-cli.exe verification-programmee, sans console.
  # Sans le noyau : seul l'en-tête des constantes de Windows.
  add_executable(emporteur-verification WIN32 ${CMAKE_SOURCE_DIR}/src/verification-win32/main.cpp)
  target_include_directories(emporteur-verification PRIVATE ${CMAKE_BINARY_DIR}/inclusions/foundation)
  refuser_inclusions_relatives(emporteur-verification verification-win32)
  target_link_options(emporteur-verification PRIVATE -municode)

  set(script ${CMAKE_SOURCE_DIR}/installation/windows/emporteur.nsi)
  set(test ${CMAKE_SOURCE_DIR}/tests/installation-windows/aller-retour.sh)
  if(NOT TARGET emporteur)
    message(STATUS "Installateur : pas de cible emporteur (emporteur.exe), pas d'installateur ; "
                   "l'aller-retour passe sur des remplaçants")
    if(EMPORTEUR_TESTS)
      add_test(NAME InstallationWindowsRemplacants
               COMMAND bash ${test} --remplacants ${script} --version ${PROJECT_VERSION}
                       --verification $<TARGET_FILE:emporteur-verification>)
      set_tests_properties(InstallationWindowsRemplacants PROPERTIES TIMEOUT 600 LABELS installation)
    endif()
    return()
  endif()

  find_program(MAKENSIS makensis REQUIRED)
  set(sortie ${CMAKE_BINARY_DIR}/Emporteur-${PROJECT_VERSION}-installation.exe)
  # L'icône d'emporteur.exe ; à défaut, la même faite des PNG de l'installation Linux.
  set(icone ${CMAKE_SOURCE_DIR}/src/fenetres-win32/images/emporteur.ico)
  if(NOT EXISTS ${icone})
    find_program(CONVERTIR NAMES convert-im6.q16 convert REQUIRED)
    set(icone ${CMAKE_BINARY_DIR}/installateur/emporteur.ico)
    set(pngs)
    foreach(t 16 32 48 256)
      list(APPEND pngs ${CMAKE_SOURCE_DIR}/installation/icones/emporteur-${t}.png)
    endforeach()
    add_custom_command(OUTPUT ${icone}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/installateur
      COMMAND ${CONVERTIR} ${pngs} ${icone}
      DEPENDS ${pngs} VERBATIM)
  endif()
  # -WX : un avertissement de makensis arrête la construction.
  add_custom_command(OUTPUT ${sortie}
    COMMAND ${MAKENSIS} -V2 -WX -DVERSION=${PROJECT_VERSION}
            -DEXE_EMPORTEUR=$<TARGET_FILE:emporteur> -DEXE_CLI=$<TARGET_FILE:emporteur-cli>
            -DEXE_VERIFICATION=$<TARGET_FILE:emporteur-verification>
            -DICONE=${icone} -DSORTIE=${sortie} ${script}
    DEPENDS ${script} ${icone} emporteur emporteur-cli emporteur-verification
    COMMENT "Installateur ${sortie}" VERBATIM)
  add_custom_target(installateur ALL DEPENDS ${sortie})

  if(EMPORTEUR_TESTS)
    add_test(NAME InstallationWindows
             COMMAND bash ${test} --installateur ${sortie} --version ${PROJECT_VERSION})
    set_tests_properties(InstallationWindows PROPERTIES TIMEOUT 600 LABELS installation)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL emporteur_installateur_windows)
