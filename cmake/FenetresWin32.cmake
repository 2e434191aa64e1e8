# Frontal Windows natif (construction Windows seulement) : le livret et ses pages, faits
# des modèles de dialogue de src/fenetres-win32/*.rc, au-dessus de la logique de l'assistant.
set(DOSSIER_FENETRES_WIN32 ${CMAKE_SOURCE_DIR}/src/fenetres-win32)

# Le livret et la page de base, sans le noyau : les essais des modèles n'ont besoin que d'eux.
add_library(emporteur_livret_win32 STATIC
  ${DOSSIER_FENETRES_WIN32}/Livret.cpp ${DOSSIER_FENETRES_WIN32}/PageLivret.cpp)
racine_inclusion(emporteur_livret_win32 fenetres-win32)
refuser_inclusions_relatives(emporteur_livret_win32 fenetres-win32)
# De la fondation, le seul en-tête des constantes de Windows (sans sa bibliothèque).
target_include_directories(emporteur_livret_win32 PUBLIC ${CMAKE_BINARY_DIR}/inclusions/foundation)
target_link_libraries(emporteur_livret_win32 PUBLIC comctl32 user32 gdi32)

# Les ressources : pages, dialogues, image, icône, version, manifeste.
set(RESSOURCES_WIN32 ${DOSSIER_FENETRES_WIN32}/emporteur.rc)
add_library(emporteur_ressources_win32 OBJECT ${RESSOURCES_WIN32})
target_include_directories(emporteur_ressources_win32 PRIVATE ${DOSSIER_FENETRES_WIN32})
if(EXISTS ${DOSSIER_FENETRES_WIN32}/dialogues.rc)
  target_compile_definitions(emporteur_ressources_win32 PRIVATE AVEC_DIALOGUES)
endif()
file(GLOB DEPENDANCES_RESSOURCES CONFIGURE_DEPENDS ${DOSSIER_FENETRES_WIN32}/*.rc
     ${DOSSIER_FENETRES_WIN32}/*.h ${DOSSIER_FENETRES_WIN32}/*.manifest
     ${DOSSIER_FENETRES_WIN32}/images/*)
set_source_files_properties(${RESSOURCES_WIN32} PROPERTIES OBJECT_DEPENDS "${DEPENDANCES_RESSOURCES}")

# Les pages de l'assistant sur la logique du noyau ; la mise en route et emporteur.exe
# quand les dialogues et l'interface Windows sont là.
set(SOURCES_PAGES_WIN32 PageBienvenue.cpp PageListeVersion.cpp PageDestination.cpp
    PagesSuivantes.cpp TexteFenetre.cpp)
if(EXISTS ${DOSSIER_FENETRES_WIN32}/InterfaceWin32.cpp)
  list(APPEND SOURCES_PAGES_WIN32 Demarrage.cpp)
endif()
list(TRANSFORM SOURCES_PAGES_WIN32 PREPEND ${DOSSIER_FENETRES_WIN32}/)
add_library(emporteur_pages_win32 STATIC ${SOURCES_PAGES_WIN32})
target_link_libraries(emporteur_pages_win32 PUBLIC emporteur_livret_win32 emporteur_noyau msimg32)
if(EXISTS ${DOSSIER_FENETRES_WIN32}/InterfaceWin32.cpp)
  target_link_libraries(emporteur_pages_win32 PUBLIC emporteur_dialogues_win32)
  add_executable(emporteur WIN32 ${CMAKE_SOURCE_DIR}/src/emporteur/win32/main.cpp
                 $<TARGET_OBJECTS:emporteur_ressources_win32>)
  target_link_options(emporteur PRIVATE -municode)
  target_link_libraries(emporteur PRIVATE emporteur_pages_win32)
endif()
