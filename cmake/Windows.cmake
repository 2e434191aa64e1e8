# Construction pour Windows (chaîne croisée mingw-w64) : les coutures prennent les API
# du système. nlohmann/json n'a pas de paquet pour la cible : son dossier d'en-têtes
# seul est exposé, par un lien, pour ne pas mêler les en-têtes de Linux à ceux de mingw.
set(LIENS_FOUNDATION advapi32 shell32 ole32 uuid bcrypt crypt32)
set(LIENS_FOUNDATION_PRIVES "")
set(LIENS_HTTP wininet)
set(LIENS_AUTOCHECK wininet)
set(LIENS_DOWNLOAD shell32 ole32 uuid) # dossier des verrous (FOLDERID_LocalAppData)

set(EMPORTEUR_EXTERNES ${CMAKE_BINARY_DIR}/externes)
file(MAKE_DIRECTORY ${EMPORTEUR_EXTERNES})
file(CREATE_LINK /usr/include/nlohmann ${EMPORTEUR_EXTERNES}/nlohmann SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${EMPORTEUR_EXTERNES})
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)

# Windows 10 au moins : les API de chemins longs et de CNG dont on se sert.
add_compile_definitions(_WIN32_WINNT=0x0A00 WINVER=0x0A00 UNICODE _UNICODE)

# L'installateur (NSIS) et son test d'aller-retour sous wine.
include(${CMAKE_SOURCE_DIR}/cmake/InstallateurWindows.cmake)
