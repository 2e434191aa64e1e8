# Les clés publiques du catalogue, lues à la configuration et compilées dans le
# programme (ClesPubliques.cpp de emporteur_commun), et la date de construction, avant
# laquelle l'horloge de la machine est manifestement fausse.

set(texte_cles "")
set(nombre_cles 0)
foreach(fichier IN LISTS EMPORTEUR_CLES_PUBLIQUES)
  get_filename_component(fichier "${fichier}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
  if(NOT EXISTS "${fichier}")
    message(FATAL_ERROR "EMPORTEUR_CLES_PUBLIQUES : fichier introuvable : ${fichier}")
  endif()
  file(READ "${fichier}" pem)
  if(NOT pem MATCHES "-----BEGIN PUBLIC KEY-----")
    message(FATAL_ERROR "EMPORTEUR_CLES_PUBLIQUES : ${fichier} n'est pas une clé publique PEM")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${fichier}")
  string(APPEND texte_cles "    R\"PEM(${pem})PEM\",\n")
  math(EXPR nombre_cles "${nombre_cles} + 1")
endforeach()
message(STATUS "Clés publiques du catalogue : ${nombre_cles}")

# SOURCE_DATE_EPOCH, s'il est donné, fixe cette date (constructions reproductibles).
string(TIMESTAMP date_construction "%Y-%m-%d" UTC)

set(genere ${CMAKE_BINARY_DIR}/genere)
file(CONFIGURE OUTPUT ${genere}/ClesPubliquesIntegrees.inc CONTENT
  "// Produit par cmake/ClesPubliques.cmake ; ne pas modifier.\n${texte_cles}")
target_include_directories(emporteur_commun PRIVATE ${genere})
target_compile_definitions(emporteur_commun PRIVATE
  EMPORTEUR_DATE_CONSTRUCTION="${date_construction}")
