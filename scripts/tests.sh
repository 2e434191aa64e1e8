#!/usr/bin/env bash
# Installe ce qui manque, construit, passe toute la suite, puis la suite Windows sous
# wine (scripts/tests-windows.sh), puis la suite sous AddressSanitizer +
# UndefinedBehaviorSanitizer, et lance le fuzzing borné.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/installer.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEMPORTEUR_WERROR=ON
cmake --build build
# L'étiquette windows : emporteur-cli.exe sous wine, lancé par tests-windows.sh, qui
# prépare le préfixe de wine.
(cd build && ctest --output-on-failure -j2 -LE windows)

bash scripts/tests-windows.sh

CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DEMPORTEUR_WERROR=ON -DEMPORTEUR_SANITISEURS=ON -DEMPORTEUR_FUZZ=ON
cmake --build build-asan
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS=suppressions=$PWD/../tests/fuites-tolerees.supp \
  ctest --output-on-failure -j2)

bash scripts/fuzz.sh build-asan "${FUZZ_SECONDES:-60}"
