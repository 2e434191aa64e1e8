#!/usr/bin/env bash
# Démonstration sur une installation locale intégrée : un serveur de téléchargement
# (nginx sur 127.0.0.1) sert le catalogue et les fichiers ; Orthalis 6.1.0.12 est
# « installé » dans un dossier temporaire et trouvé par le registre. Emporteur vérifie
# les mises à jour, télécharge par segments, puis répare un fichier abîmé en ne
# redemandant que le segment touché.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/installation-locale.sh

journal=$(mktemp)
construire() { "$@" >"$journal" 2>&1 || { cat "$journal"; exit 1; }; }
echo "== Préparation (paquets, construction)"
construire bash scripts/installer.sh
construire cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
construire cmake --build build --target emporteur emporteur-cli fixtures_version
cli=$PWD/build/emporteur-cli
produit=$PWD/build/tests/fixtures/version/produit32.exe

# Tout l'environnement de l'utilisateur dans un dossier temporaire ; Orthalis y est
# installé et déclaré dans le registre, nginx sert le catalogue et les fichiers.
echo "== Orthalis installé, catalogue rédigé avec emporteur-cli ingredient, servi par nginx"
preparer_installation "$cli" "$produit"
trap 'arreter_nginx; rm -rf "$W"' EXIT
"$cli" version-installee | sed 's/^/   /'
cat_dir=$CATALOGUE
sed 's/^/   /' "$cat_dir/IngredientsOrthalis" | cut -c1-150

echo "== emporteur-cli verifier (vérification automatique, sans fenêtre)"
"$cli" verifier | sed 's/^/   /' || true

dest=$W/home/Téléchargements
echo "== emporteur-cli telecharger : choix selon la version installée, dans $dest"
"$cli" telecharger --dossier "$dest"
cmp "$dest/MiseAJour62.exe" "$FICHIER_MAJ" && echo "   Contenu identique à l'original."

echo "== Un octet abîmé au milieu du deuxième segment, puis nouveau téléchargement"
printf '\xff' | dd of="$dest/MiseAJour62.exe" bs=1 seek=1500000 conv=notrunc status=none
: > "$W/nginx/acces.log"
"$cli" telecharger --dossier "$dest"
cmp "$dest/MiseAJour62.exe" "$FICHIER_MAJ" && echo "   Fichier réparé, identique à l'original."
echo "   Requêtes reçues par le serveur pendant la réparation :"
grep -F 'maj_6162' "$W/nginx/acces.log" | sed 's/^/     /'

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "== L'assistant à fenêtres sur le même catalogue (fermez-le pour finir)"
  build/emporteur
else
  echo "== Sans affichage : l'assistant à fenêtres n'est pas ouvert (DISPLAY absent)."
fi
