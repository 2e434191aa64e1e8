# Un niveau du noyau : la bibliothèque emporteur_NOM faite des sources de src/NOM,
# liée publiquement aux niveaux donnés. Une couture avec la plateforme est un en-tête
# de src/NOM et son implémentation dans src/NOM/posix/ (hors Windows) ou src/NOM/win32/.
#
# Sa racine d'inclusion (build/inclusions/NOM) ne contient qu'un lien vers src/NOM ;
# les racines des niveaux liés arrivent par la liaison. "dossier/En-tete.h" ne se
# trouve donc que pour un dossier du même niveau ou d'un niveau lié, plus bas.
# "../dossier/En-tete.h" passerait outre (le compilateur cherche d'abord à côté du
# fichier) : chaque dossier est relu avant sa compilation, et une telle inclusion
# arrête la construction.

# Ajoute à `cible` la vérification des inclusions relatives de src/`dossier`.
function(refuser_inclusions_relatives cible dossier)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dossier}/*.h
       ${CMAKE_SOURCE_DIR}/src/${dossier}/*.cpp)
  set(temoin ${CMAKE_BINARY_DIR}/inclusions/${dossier}.relues)
  add_custom_command(OUTPUT ${temoin}
    COMMAND ${CMAKE_COMMAND} -DDOSSIER=${CMAKE_SOURCE_DIR}/src/${dossier} -DTEMOIN=${temoin}
            -P ${CMAKE_SOURCE_DIR}/cmake/VerifierInclusions.cmake
    DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/cmake/VerifierInclusions.cmake
    COMMENT "Inclusions relatives de src/${dossier}" VERBATIM)
  add_custom_target(inclusions_${dossier} DEPENDS ${temoin})
  add_dependencies(${cible} inclusions_${dossier})
endfunction()

function(racine_inclusion cible dossier)
  set(racine ${CMAKE_BINARY_DIR}/inclusions/${dossier})
  file(MAKE_DIRECTORY ${racine})
  file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${dossier} ${racine}/${dossier} SYMBOLIC)
  get_target_property(type ${cible} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_include_directories(${cible} PRIVATE ${racine})
  else()
    target_include_directories(${cible} PUBLIC ${racine})
  endif()
endfunction()

function(niveau nom)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${nom}/*.cpp)
  if(WIN32)
    file(GLOB plateforme CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${nom}/win32/*.cpp)
  else()
    file(GLOB plateforme CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${nom}/posix/*.cpp)
  endif()
  list(APPEND sources ${plateforme})
  add_library(emporteur_${nom} STATIC ${sources})
  racine_inclusion(emporteur_${nom} ${nom})
  refuser_inclusions_relatives(emporteur_${nom} ${nom})
  set(liens ${ARGN})
  list(REMOVE_ITEM liens PUBLIC)
  target_link_libraries(emporteur_${nom} PUBLIC ${liens})
endfunction()
