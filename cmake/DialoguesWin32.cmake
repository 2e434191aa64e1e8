# Frontal Windows natif, hors livret : l'interface utilisateur (boîtes, identifiants,
# choix du shell, ouverture) et les dialogues faits des modèles de dialogues.rc, sur la
# logique de l'assistant. Construction Windows seulement.
set(DOSSIER_DIALOGUES_WIN32 ${CMAKE_SOURCE_DIR}/src/fenetres-win32)
set(SOURCES_DIALOGUES_WIN32 ChoixShell.cpp Dialogue.cpp DialogueIdentifiants.cpp
    InterfaceWin32.cpp MajAutoDialogueChoix.cpp ModeAdmin.cpp ParametresProxy.cpp)
list(TRANSFORM SOURCES_DIALOGUES_WIN32 PREPEND ${DOSSIER_DIALOGUES_WIN32}/)
add_library(emporteur_dialogues_win32 STATIC ${SOURCES_DIALOGUES_WIN32})
if(NOT EXISTS ${CMAKE_BINARY_DIR}/inclusions/fenetres-win32/fenetres-win32)
  racine_inclusion(emporteur_dialogues_win32 fenetres-win32)
else()
  target_include_directories(emporteur_dialogues_win32 PUBLIC ${CMAKE_BINARY_DIR}/inclusions/fenetres-win32)
endif()
target_link_libraries(emporteur_dialogues_win32 PUBLIC emporteur_noyau user32 comctl32 shell32 ole32 uuid)
