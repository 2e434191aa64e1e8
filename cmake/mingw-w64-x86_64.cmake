# Chaîne de compilation croisée vers Windows 64 bits (mingw-w64, fils posix).
#   cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Les variantes posix des compilateurs donnent std::thread et std::mutex ; -static
# évite de livrer les DLL de l'exécution avec chaque .exe. Les tests tournent sous
# wine, que ctest appelle devant chaque exécutable.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(prefixe x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${prefixe}-gcc-posix)
set(CMAKE_CXX_COMPILER ${prefixe}-g++-posix)
set(CMAKE_RC_COMPILER ${prefixe}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${prefixe})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

find_program(EMPORTEUR_WINE NAMES wine wine64)
if(EMPORTEUR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${EMPORTEUR_WINE})
endif()
