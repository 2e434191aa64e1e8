# Les clés publiques du catalogue, lues à la configuration et compilées dans le
# programme (ClesPubliques.cpp de emporteur_commun), et la date de construction, avant
# laquelle l'horloge de la machine est manifestement fausse.

# Écrit dans `dossier`/ClesPubliquesIntegrees.inc les clés PEM des `fichiers`, en
# littéraux bruts ; `nombre` reçoit leur nombre.
function(ecrire_cles_publiques dossier nombre)
  set(texte "")
  set(n 0)
  foreach(fichier IN LISTS ARGN)
    get_filename_component(fichier "${fichier}" ABSOLUTE BASE_DIR "${CMAKE_SOURCE_DIR}")
    if(NOT EXISTS "${fichier}")
      message(FATAL_ERROR "EMPORTEUR_CLES_PUBLIQUES : fichier introuvable : ${fichier}")
    endif()
    file(READ "${fichier}" pem)
    if(NOT pem MATCHES "^-----BEGIN PUBLIC KEY-----" OR pem MATCHES "\\)PEM\"")
      message(FATAL_ERROR "EMPORTEUR_CLES_PUBLIQUES : ${fichier} n'est pas une clé publique PEM")
    endif()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${fichier}")
    string(APPEND texte "    R\"PEM(${pem})PEM\",\n")
    math(EXPR n "${n} + 1")
  endforeach()
  file(CONFIGURE OUTPUT ${dossier}/ClesPubliquesIntegrees.inc CONTENT
    "// Produit par cmake/ClesPubliques.cmake ; ne pas modifier.\n${texte}")
  set(${nombre} ${n} PARENT_SCOPE)
endfunction()

# SOURCE_DATE_EPOCH, s'il est donné, fixe cette date (constructions reproductibles).
string(TIMESTAMP EMPORTEUR_DATE_CONSTRUCTION "%Y-%m-%d" UTC)

ecrire_cles_publiques(${CMAKE_BINARY_DIR}/genere nombre_cles ${EMPORTEUR_CLES_PUBLIQUES})
message(STATUS "Clés publiques du catalogue : ${nombre_cles}")
target_include_directories(emporteur_commun PRIVATE ${CMAKE_BINARY_DIR}/genere)
target_compile_definitions(emporteur_commun PRIVATE
  EMPORTEUR_DATE_CONSTRUCTION="${EMPORTEUR_DATE_CONSTRUCTION}")
