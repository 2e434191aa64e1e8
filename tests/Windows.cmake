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

add_library(outils_tests STATIC ${CMAKE_CURRENT_SOURCE_DIR}/outils/InterfaceEnregistreuse.cpp)
target_link_libraries(outils_tests PUBLIC outils_base emporteur_noyau)
target_compile_definitions(outils_tests PUBLIC
  EMPORTEUR_CLI="$<TARGET_FILE:emporteur-cli>"
  EMPORTEUR_SOURCES="${CMAKE_SOURCE_DIR}")
add_dependencies(outils_tests emporteur-cli)

include(FixturesVersion.cmake)
target_compile_definitions(outils_tests PUBLIC EMPORTEUR_FIXTURES_VERSION="${FIXTURES_VERSION}")
add_dependencies(outils_tests fixtures_version)

# Les tests de chaque niveau qui valent sous Windows.
set(TESTS_WINDOWS_foundation GuichetQuestionsTest LectureDecimaleTest TestsCleRegistre
    TestsFichierProfil TestsInfoVersion TestsVersionCorrompue TexteTest)
set(TESTS_WINDOWS_commun ModeExecutionTest)
set(TESTS_WINDOWS_catalogue IndexIngredientsTest InterpreterCatalogueTest)
set(TESTS_WINDOWS_download DecoupageSuiteTest DescripteurFichierTest PlanSegmentsTest
    ProgressionTest ReglageConnexionsTest)
set(TESTS_WINDOWS_autocheck AvisMajTest VerificationProgrammeeTest)
set(TESTS_WINDOWS_crctool ListeCrcTest)
set(TESTS_WINDOWS_assistant ChoixVersionsTest DefilementListeTest LogiqueDestinationTest
    LogiqueProxyTest LogiqueTelechargementTest LogiqueTerminayTest ModeleListeVersionsTest)
set(TESTS_WINDOWS_cli LigneProgressionTest)

include(GoogleTest)
foreach(s foundation commun catalogue download autocheck crctool assistant cli)
  set(f ${TESTS_WINDOWS_${s}})
  list(TRANSFORM f PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/${s}/)
  list(TRANSFORM f APPEND .cpp)
  add_executable(tests_${s} ${f})
  target_link_libraries(tests_${s} PRIVATE outils_tests GTest::gtest_main nlohmann_json::nlohmann_json)
  gtest_discover_tests(tests_${s} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
endforeach()

target_sources(tests_cli PRIVATE ${CMAKE_SOURCE_DIR}/src/cli/LigneProgression.cpp
                                 ${CMAKE_SOURCE_DIR}/src/cli/BilanConsole.cpp)
target_include_directories(tests_cli PRIVATE ${CMAKE_BINARY_DIR}/inclusions/cli)

# Les tests propres à Windows : tests/win32/NIVEAU/ donne tests_win32_NIVEAU, qui ne lie
# que ce niveau (et ceux qu'il lie).
file(GLOB DOSSIERS_TESTS_WIN32 LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/win32/*)
foreach(dossier ${DOSSIERS_TESTS_WIN32})
  get_filename_component(s ${dossier} NAME)
  file(GLOB f CONFIGURE_DEPENDS ${dossier}/*.cpp)
  if(IS_DIRECTORY ${dossier} AND f)
    add_executable(tests_win32_${s} ${f})
    target_link_libraries(tests_win32_${s} PRIVATE emporteur_${s} outils_base GTest::gtest_main)
    gtest_discover_tests(tests_win32_${s} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 300)
  endif()
endforeach()
add_subdirectory(fenetres-win32)
