# Suite Windows, lancée sous wine par ctest (CMAKE_CROSSCOMPILING_EMULATOR). GoogleTest
# vient des sources de Debian, compilées par la chaîne croisée. Les tests qui ne
# dépendent pas de la plateforme sont repris tels quels ; ceux de la plateforme vivent
# dans tests/win32/.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Outils de base (dossiers temporaires, environnement) : sans le noyau, pour que les
# tests d'un niveau ne lient que ce niveau et ceux d'en dessous.
add_library(outils_base STATIC ${CMAKE_CURRENT_SOURCE_DIR}/outils/DossierTemporaire.cpp)
target_include_directories(outils_base PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(outils_base PUBLIC GTest::gtest GTest::gmock)

add_library(outils_tests STATIC ${CMAKE_CURRENT_SOURCE_DIR}/outils/InterfaceEnregistreuse.cpp
                               ${CMAKE_CURRENT_SOURCE_DIR}/outils/RegistreMachine.cpp)
target_link_libraries(outils_tests PUBLIC outils_base emporteur_noyau)
target_compile_definitions(outils_tests PUBLIC
  EMPORTEUR_CLI="$<TARGET_FILE:emporteur-cli>"
  EMPORTEUR_SOURCES="${CMAKE_SOURCE_DIR}")
add_dependencies(outils_tests emporteur-cli)

include(FixturesVersion.cmake)
target_compile_definitions(outils_tests PUBLIC EMPORTEUR_FIXTURES_VERSION="${FIXTURES_VERSION}")
add_dependencies(outils_tests fixtures_version)

# tests/win32/cli lance emporteur-cli.exe pour de vrai et relit sa version par le
# lecteur PE du projet : le « niveau » qu'il lie est la fondation.
add_library(emporteur_cli INTERFACE)
target_link_libraries(emporteur_cli INTERFACE emporteur_foundation)
target_compile_definitions(emporteur_cli INTERFACE EMPORTEUR_CLI="$<TARGET_FILE:emporteur-cli>"
                           EMPORTEUR_FIXTURES_VERSION="${FIXTURES_VERSION}")
add_dependencies(emporteur_cli emporteur-cli fixtures_version)

# Les tests de chaque niveau qui valent sous Windows.
# (TestsFichierProfil décrit le lecteur inih ; le profil de Windows a ses tests Win32.)
set(TESTS_WINDOWS_foundation GuichetQuestionsTest LectureDecimaleTest TestsCleRegistre
    TestsInfoVersion TestsVersionCorrompue TexteTest)
set(TESTS_WINDOWS_commun ModeExecutionTest)
set(TESTS_WINDOWS_catalogue IndexIngredientsTest InterpreterCatalogueTest)
set(TESTS_WINDOWS_download DecoupageSuiteTest DescripteurFichierTest PlanSegmentsTest
    ProgressionTest ReglageConnexionsTest)
set(TESTS_WINDOWS_autocheck AvisMajTest VerificationProgrammeeTest)
set(TESTS_WINDOWS_crctool ListeCrcTest)
set(TESTS_WINDOWS_assistant ChoixVersionsTest DefilementListeTest LogiqueDestinationTest
    LogiqueProxyTest LogiqueTelechargementTest LogiqueTerminayTest ModeleListeVersionsTest)
set(TESTS_WINDOWS_cli LigneProgressionTest)
# Les vecteurs figés d'empreinte et de signature : mêmes verdicts sur les deux plateformes.
list(APPEND TESTS_WINDOWS_foundation VecteursSignatureTest)

include(GoogleTest)
foreach(s foundation commun catalogue download autocheck crctool assistant cli)
  set(f ${TESTS_WINDOWS_${s}})
  list(TRANSFORM f PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/${s}/)
  list(TRANSFORM f APPEND .cpp)
  add_executable(tests_${s} ${f})
  if(s STREQUAL "foundation")
    # Le niveau du bas ne lie que lui-même : ses tests se lancent sans attendre les autres.
    target_link_libraries(tests_${s} PRIVATE emporteur_foundation outils_base GTest::gtest_main)
    target_compile_definitions(tests_${s} PRIVATE EMPORTEUR_FIXTURES_VERSION="${FIXTURES_VERSION}")
    add_dependencies(tests_${s} fixtures_version)
  else()
    target_link_libraries(tests_${s} PRIVATE outils_tests GTest::gtest_main nlohmann_json::nlohmann_json)
  endif()
  gtest_discover_tests(tests_${s} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
endforeach()

target_sources(tests_cli PRIVATE ${CMAKE_SOURCE_DIR}/src/cli/LigneProgression.cpp
                                 ${CMAKE_SOURCE_DIR}/src/cli/BilanConsole.cpp)
target_include_directories(tests_cli PRIVATE ${CMAKE_BINARY_DIR}/inclusions/cli)

# Transport WinINet : nginx et tinyproxy du côté Linux, démarrés une fois pour les tests
# de tests_win32_http et arrêtés par leur PID ; les tests lisent leurs adresses.
set(SERVEURS_WIN32_HTTP ${CMAKE_BINARY_DIR}/tests/serveurs-win32-http)
set(SCRIPT_SERVEURS_WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/win32/http/serveurs.sh)
add_test(NAME ServeursWin32.Demarrer COMMAND bash ${SCRIPT_SERVEURS_WIN32} demarrer ${SERVEURS_WIN32_HTTP})
add_test(NAME ServeursWin32.Arreter COMMAND bash ${SCRIPT_SERVEURS_WIN32} arreter ${SERVEURS_WIN32_HTTP})
set_tests_properties(ServeursWin32.Demarrer PROPERTIES FIXTURES_SETUP serveurs_win32_http)
set_tests_properties(ServeursWin32.Arreter PROPERTIES FIXTURES_CLEANUP serveurs_win32_http)
set(PROPRIETES_WIN32_http FIXTURES_REQUIRED serveurs_win32_http)

# Les tests propres à Windows : tests/win32/NIVEAU/ donne tests_win32_NIVEAU, qui ne lie
# que ce niveau (et ceux qu'il lie).
file(GLOB DOSSIERS_TESTS_WIN32 LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/win32/*)
foreach(dossier ${DOSSIERS_TESTS_WIN32})
  get_filename_component(s ${dossier} NAME)
  file(GLOB f CONFIGURE_DEPENDS ${dossier}/*.cpp)
  if(IS_DIRECTORY ${dossier} AND f)
    add_executable(tests_win32_${s} ${f})
    target_link_libraries(tests_win32_${s} PRIVATE emporteur_${s} outils_base GTest::gtest_main)
    gtest_discover_tests(tests_win32_${s} DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT 300 ${PROPRIETES_WIN32_${s}})
  endif()
endforeach()
add_subdirectory(fenetres-win32)
if(TARGET tests_win32_http)
  target_compile_definitions(tests_win32_http PRIVATE
    EMPORTEUR_SERVEURS_WIN32="${SERVEURS_WIN32_HTTP}/adresses")
endif()

# Essais des dialogues du frontal Windows, sous wine dans un vrai X : montrés sans mode
# et pilotés par messages, dans le processus de l'essai. Tant que le dossier n'a pas son
# propre montage (celui du livret et des pages, qui les reprend), ils sont montés ici.
if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/fenetres-win32/CMakeLists.txt)
  file(GLOB ESSAIS_FENETRES_WIN32 CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fenetres-win32/*.cpp)
  add_executable(tests_fenetres_win32 ${ESSAIS_FENETRES_WIN32}
                 ${CMAKE_SOURCE_DIR}/src/fenetres-win32/dialogues.rc)
  target_link_libraries(tests_fenetres_win32 PRIVATE emporteur_dialogues_win32 outils_base
                        GTest::gtest_main)
  # Un écran à chaque lancement, avec ou sans DISPLAY autour.
  set_target_properties(tests_fenetres_win32 PROPERTIES CROSSCOMPILING_EMULATOR
    "xvfb-run;-a;-s;-screen 0 1280x1024x24;${CMAKE_CROSSCOMPILING_EMULATOR}")
  gtest_discover_tests(tests_fenetres_win32 DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
endif()

# Un dialogue montré seul, le temps d'une capture d'écran (scripts/captures.sh).
add_executable(apercu_dialogues_win32 fenetres-win32/apercu/ApercuDialogues.cpp
               ${CMAKE_SOURCE_DIR}/src/fenetres-win32/dialogues.rc)
target_link_libraries(apercu_dialogues_win32 PRIVATE emporteur_dialogues_win32)
