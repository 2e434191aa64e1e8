#!/usr/bin/env bash
# Construit le paquet Debian d'Emporteur : scripts/paquet.sh [DOSSIER] [--propre]
# DOSSIER : dossier de construction (défaut build-paquet/), réutilisé d'une fois sur
# l'autre ; --propre le vide d'abord. Le .deb est écrit dans DOSSIER et son chemin
# imprimé en dernière ligne.
set -euo pipefail
cd "$(dirname "$0")/.."

dossier=build-paquet
propre=0
for a in "$@"; do
  case $a in
    --propre) propre=1 ;;
    -h | --help) sed -n 2,5p "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) dossier=$a ;;
  esac
done

bash scripts/installer.sh >&2
[ "$propre" = 1 ] && rm -rf "$dossier"

# Les options de construction de Debian (durcissement : relro, now, fortify, PIE).
# Passées explicitement à chaque fois : CMake ne lit l'environnement qu'à la première
# configuration, et ignore CPPFLAGS (d'où vient _FORTIFY_SOURCE).
eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
cmake -S . -B "$dossier" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
  -DEMPORTEUR_TESTS=OFF "-DCMAKE_CXX_FLAGS=$CPPFLAGS $CXXFLAGS" \
  "-DCMAKE_EXE_LINKER_FLAGS=$LDFLAGS" >&2
cmake --build "$dossier" >&2
rm -f "$dossier"/emporteur_*.deb
(cd "$dossier" && cpack -G DEB >&2)
realpath "$dossier"/emporteur_*.deb
