#!/usr/bin/env bash
# La suite Windows : le noyau, ses tests et emporteur-cli.exe construits par la chaîne
# croisée mingw-w64 (build-win) et passés sous wine, dans un préfixe à soi ; puis la
# suite Linux qui pilote emporteur-cli.exe sous wine contre les serveurs de test
# (tests/windows, étiquette windows de build/). Appelé par scripts/tests.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
racine=$PWD

bash scripts/installer.sh

debut=$(date +%s)
etape() { echo "== Windows : $* ($(($(date +%s) - debut)) s)"; }

# wine lit arguments et environnement dans la page de code de la locale Unix : sous C,
# « Élodie » arriverait abîmé. Ses propres messages se mêleraient aux sorties.
export LC_ALL=C.UTF-8 WINEDEBUG=-all
export WINEPREFIX=$racine/build-win/wine
# wine retrouve son wineserver par $TMPDIR : un seul, fixe et privé pour toute
# l'exécution, sinon un second serveur démarre sur le même préfixe (et wine refuse un
# dossier que d'autres peuvent lire).
TMPDIR=/tmp/emporteur-wine-$(id -u)-$(printf %s "$racine" | cksum | cut -d' ' -f1)
export TMPDIR
mkdir -p -m 700 "$TMPDIR"
if [ -L "$TMPDIR" ] || [ ! -O "$TMPDIR" ]; then
  echo "$TMPDIR n'est pas un dossier à moi : refusé." >&2
  exit 1
fi
chmod 700 "$TMPDIR"
mkdir -p "$WINEPREFIX"

# PID qui tient un verrou POSIX (/proc/locks) : le wineserver tient celui de son dossier.
tient_un_verrou() { awk -v p="$1" '$5 == p { trouve = 1 } END { exit !trouve }' /proc/locks; }

serveur=""
arreter() {
  # Seulement ce que ce script a démarré : le wineserver de ce préfixe, qui emporte
  # avec lui les processus Windows du préfixe (services.exe, winedevice.exe…).
  [ -n "$serveur" ] || return 0
  wineserver -k 2>/dev/null || true
  kill "$serveur" 2>/dev/null || true
  wait "$serveur" 2>/dev/null || true
}
trap arreter EXIT

# Un wineserver persistant, au premier plan pour en avoir le PID : chaque lancement
# de wine coûte alors quelques centièmes de seconde au lieu de deux ou trois secondes.
wineserver -f -p &
serveur=$!
until tient_un_verrou "$serveur"; do
  if ! kill -0 "$serveur" 2>/dev/null; then
    # Il en tourne déjà un pour ce préfixe (une exécution précédente) : il sert.
    echo "wineserver déjà démarré pour $WINEPREFIX : réutilisé, laissé en place."
    serveur=""
    break
  fi
  sleep 0.05
done
# Sans wine 32 bits, wineboot dit ne pas trouver syswow64\rundll32.exe : sans effet ici.
wineboot -i >/dev/null 2>&1 || true
etape "préfixe prêt"

# Le serveur tourne avant la construction : la découverte des tests lance chaque .exe.
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEMPORTEUR_WERROR=ON
cmake --build build-win
etape "build-win construit"
(cd build-win && ctest --output-on-failure -j2)
etape "suite Windows passée sous wine"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DEMPORTEUR_WERROR=ON \
  -DEMPORTEUR_CLI_WINDOWS="$racine/build-win/emporteur-cli.exe" \
  -DEMPORTEUR_LANCEUR_WINDOWS="$(command -v wine)"
cmake --build build --target tests_windows
(cd build && ctest --output-on-failure -j2 -L windows)
etape "emporteur-cli.exe piloté depuis Linux"
