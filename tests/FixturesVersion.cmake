# Exécutables Windows de test, faits par un vrai compilateur de ressources (windres)
# et l'éditeur de liens de binutils-mingw-w64, en PE32 (i686) et PE32+ (x86_64).
# Produit la cible fixtures_version et le dossier FIXTURES_VERSION.

set(FIXTURES_VERSION ${CMAKE_CURRENT_BINARY_DIR}/fixtures/version)
set(GRAINES_VERSION ${CMAKE_BINARY_DIR}/tests/fuzz/graines/version)
set(SOURCES_FIXTURES ${CMAKE_CURRENT_SOURCE_DIR}/foundation/fixtures)

# windres passe le .rc au préprocesseur C : celui de l'hôte suffit.
find_program(PREPROCESSEUR_C cpp REQUIRED)
set(FICHIERS_FIXTURES)
foreach(cible i686:32 x86_64:64)
  string(REPLACE ":" ";" paire ${cible})
  list(GET paire 0 arch)
  list(GET paire 1 bits)
  foreach(outil windres as ld)
    find_program(MINGW_${outil}_${bits} ${arch}-w64-mingw32-${outil} REQUIRED)
  endforeach()

  set(entree ${FIXTURES_VERSION}/point_entree${bits}.o)
  add_custom_command(OUTPUT ${entree}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${FIXTURES_VERSION}
    COMMAND ${MINGW_as_${bits}} ${SOURCES_FIXTURES}/point_entree.s -o ${entree}
    DEPENDS ${SOURCES_FIXTURES}/point_entree.s VERBATIM)

  # Sans aucune ressource.
  set(exe ${FIXTURES_VERSION}/sans_ressource${bits}.exe)
  add_custom_command(OUTPUT ${exe}
    COMMAND ${MINGW_ld_${bits}} --entry=_start ${entree} -o ${exe}
    DEPENDS ${entree} VERBATIM)
  list(APPEND FICHIERS_FIXTURES ${exe})

  foreach(nom produit traductions sans_traduction sans_version)
    set(res ${FIXTURES_VERSION}/${nom}${bits}.res.o)
    set(exe ${FIXTURES_VERSION}/${nom}${bits}.exe)
    add_custom_command(OUTPUT ${exe}
      COMMAND ${MINGW_windres_${bits}} --preprocessor=${PREPROCESSEUR_C} -c 65001
              -i ${SOURCES_FIXTURES}/${nom}.rc -o ${res}
      COMMAND ${MINGW_ld_${bits}} --entry=_start ${entree} ${res} -o ${exe}
      DEPENDS ${entree} ${SOURCES_FIXTURES}/${nom}.rc VERBATIM)
    list(APPEND FICHIERS_FIXTURES ${exe})
  endforeach()
endforeach()

# Les mêmes fichiers servent de graines au fuzzing (scripts/fuzz.sh les copie).
set(TEMOIN_GRAINES ${GRAINES_VERSION}/.copiees)
add_custom_command(OUTPUT ${TEMOIN_GRAINES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GRAINES_VERSION}
  COMMAND ${CMAKE_COMMAND} -E copy ${FICHIERS_FIXTURES} ${GRAINES_VERSION}
  COMMAND ${CMAKE_COMMAND} -E touch ${TEMOIN_GRAINES}
  DEPENDS ${FICHIERS_FIXTURES} VERBATIM)

add_custom_target(fixtures_version ALL DEPENDS ${FICHIERS_FIXTURES} ${TEMOIN_GRAINES})
