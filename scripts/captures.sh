#!/usr/bin/env bash
# Captures d'écran du vrai programme sous Xvfb, dans docs/captures/ : chaque page et
# chaque dialogue, conduits au clavier comme le ferait une personne, sur
# l'installation locale intégrée (nginx sur 127.0.0.1) ; puis le jeu Windows sous wine
# (scripts/captures-windows.sh), installateur compris.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/installation-locale.sh
source scripts/captures-windows.sh

journal=$(mktemp)
construire() { "$@" >"$journal" 2>&1 || { cat "$journal"; exit 1; }; }
construire bash scripts/installer.sh
construire cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
construire cmake --build build --target emporteur emporteur-cli fixtures_version
programme=$PWD/build/emporteur
sortie=$PWD/docs/captures
mkdir -p "$sortie"

# Un débit limité, pour saisir la page du téléchargement en plein transfert.
export NGINX_DEBIT=400k
preparer_installation "$PWD/build/emporteur-cli" "$PWD/build/tests/fixtures/version/produit32.exe" >/dev/null
# Sous set -e, une commande du piège qui échoue l'arrête : chacune se tient pour réussie.
trap '{ [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true; }; arreter_nginx
      { [ -z "${XVFB:-}" ] || kill $XVFB 2>/dev/null || true; }; rm -rf "$W"' EXIT

# Un serveur X à soi, sur un numéro libre.
for n in $(seq 70 99); do [ -e /tmp/.X$n-lock ] || { ecran=$n; break; }; done
Xvfb :$ecran -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
export DISPLAY=:$ecran QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# La fenêtre qui a le focus, une fois l'interface calmée.
focus() { sleep 0.8; xdotool getwindowfocus; }
capturer() { import -window "$1" "$sortie/$2.png"; echo "   $2.png"; }
touche() { xdotool key --clearmodifiers "$@"; }

echo "== Assistant ordinaire"
"$programme" & pid=$!
id=$(timeout 30 xdotool search --sync --name '^Emporteur$' | head -n 1)
xdotool windowfocus --sync "$id"
capturer "$(focus)" 01-accueil
touche Tab space
capturer "$(focus)" 02-mandataire
touche Escape
xdotool windowfocus --sync "$id"
touche Return
capturer "$(focus)" 03-liste-versions
touche Return
capturer "$(focus)" 04-destination
touche Tab space
capturer "$(focus)" 10-selecteur-dossier
touche Escape
xdotool windowfocus --sync "$id"
touche shift+Tab Return
capturer "$(focus)" 05-question-dossier
touche Return
sleep 4
capturer "$id" 07-telechargement
for _ in $(seq 300); do
  [ -e "$HOME/Desktop/Mervane_Téléchargement/MiseAJour62.exe" ] && break
  sleep 0.2
done
sleep 1
capturer "$id" 08-fin
kill $pid 2>/dev/null; wait $pid 2>/dev/null || true

echo "== Outil de calcul des CRC (/a)"
head -c 2500000 /dev/urandom > "$W/grand.bin"
"$programme" /a & pid=$!
id=$(timeout 30 xdotool search --sync --name '^Generation des CRC$' | head -n 1)
xdotool windowfocus --sync "$id"
sleep 0.5
xdotool type --delay 20 1000000
touche Tab space
sleep 1
xdotool type --delay 10 "$W/grand.bin"
touche Return
sleep 0.8
xdotool windowfocus --sync "$id"
touche Tab space
sleep 1.5
capturer "$id" 09-outil-crc
touche Escape
wait $pid 2>/dev/null || true

echo "== Vérification automatique avec invite (MajPlusMan)"
"$programme" MajPlusMan & pid=$!
timeout 30 xdotool search --sync --name '^Emporteur$' >/dev/null
capturer "$(focus)" 06-avis
touche Escape
wait $pid 2>/dev/null || true

# Le même jeu sous wine, dans docs/captures/windows/, avec l'installateur.
captures_windows
