#!/usr/bin/env bash
# Installe les paquets Debian dont le projet a besoin (Debian 12, en root).
# Idempotent : ne touche à apt que s'il manque quelque chose.
set -euo pipefail

PAQUETS=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libcurl4-openssl-dev libsqlite3-dev libinih-dev nlohmann-json3-dev
  libcpp-httplib-dev libssl-dev zlib1g-dev libdeflate-dev
  nginx-light tinyproxy squid openssl curl aria2 time
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix googletest wine64 wine
  qt6-base-dev qt6-translations-l10n libxcb1-dev libgl-dev xvfb xauth xdotool x11-utils fonts-dejavu-core imagemagick
  dpkg-dev lintian desktop-file-utils appstream man-db systemd
  nsis python3 locales
)

manquants=()
for p in "${PAQUETS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || manquants+=("$p")
done
if [ ${#manquants[@]} -gt 0 ]; then
  echo "Installation : ${manquants[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  # Un autre apt en cours (mises à jour automatiques) tient le verrou : l'attendre
  # plutôt qu'échouer aussitôt.
  attente=(-o DPkg::Lock::Timeout=600)
  $SUDO apt-get "${attente[@]}" update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get "${attente[@]}" install -y --no-install-recommends \
    "${manquants[@]}"
fi
