#!/usr/bin/env bash
# Démonstration sur une installation locale intégrée : un serveur de téléchargement
# (nginx sur 127.0.0.1) sert le catalogue et les fichiers ; Orthalis 6.1.0.12 est
# « installé » dans un dossier temporaire et trouvé par le registre. Emporteur vérifie
# les mises à jour, télécharge par segments, puis répare un fichier abîmé en ne
# redemandant que le segment touché.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/serveur-local.sh

journal=$(mktemp)
construire() { "$@" >"$journal" 2>&1 || { cat "$journal"; exit 1; }; }
echo "== Préparation (paquets, construction)"
construire bash scripts/installer.sh
construire cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
construire cmake --build build --target emporteur-cli fixtures_version
cli=$PWD/build/emporteur-cli
produit=$PWD/build/tests/fixtures/version/produit32.exe

# Tout l'environnement de l'utilisateur dans un dossier temporaire.
W=$(mktemp -d /tmp/emporteur-demo-XXXXXX)
trap 'arreter_nginx; rm -rf "$W"' EXIT
export HOME=$W/home XDG_CONFIG_HOME=$W/home/.config XDG_DATA_HOME=$W/home/.local/share
export XDG_CONFIG_DIRS=$W/etc/xdg
unset http_proxy
mkdir -p "$HOME" "$W/www/maj/win" "$W/www/telecharger/assistants/Win" "$W/nginx" "$W/Orthalis"

echo "== Orthalis installé dans $W/Orthalis, déclaré dans le registre"
cp "$produit" "$W/Orthalis/Orthal32.exe"
"$cli" registre ecrire 'Software\Mervane\Orthalis\6.0\Installation' DossierOrthalis "$W/Orthalis"
"$cli" version-installee | sed 's/^/   /'

echo "== Fichiers servis et catalogue rédigé avec emporteur-cli ingredient"
head -c 6000000 /dev/urandom > "$W/www/maj/win/maj_6162.exe"
printf 'Notes de version d’Orthalis 6.2\n' > "$W/www/maj/win/notes62.txt"
demarrer_nginx "$W/www" "$W/nginx"
export EMPORTEUR_SERVEUR=127.0.0.1:$NGINX_PORT EMPORTEUR_SITE=127.0.0.1:$NGINX_PORT
site=127.0.0.1:$NGINX_PORT
cat_dir=$W/www/telecharger/assistants/Win
cat > "$cat_dir/RecettesOrthalis" <<TXT
2.1.0.0
# mises à jour de la version 6
 ver="6.1.0.12" produit="Orthalis 6.2" verMaj="6.2.0.3" titre="Mises à jour" des="Mise à jour de 6.1 à 6.2" cles="maj6162* notes62"
 ver="6.0.0.8" produit="Orthalis 6.2" verMaj="6.2.0.3" titre="Mises à jour" des="Mise à jour de 6.0 à 6.2" cles="maj6162* notes62"
TXT
{
  echo "2.1.0.0"
  "$cli" ingredient "$W/www/maj/win/maj_6162.exe" 1000000 --cle maj6162 --site "$site" \
    --rep maj/win --distant maj_6162.exe --local MiseAJour62.exe
  "$cli" ingredient "$W/www/maj/win/notes62.txt" 1000000 --cle notes62 --site "$site" \
    --rep maj/win --distant notes62.txt --local notes62.txt
} > "$cat_dir/IngredientsOrthalis"
printf 'boutique\ncle="Orthalis" ver="7.0.0.1" produit="Orthalis 7" des="Mise à niveau vers Orthalis 7"\n' \
  > "$cat_dir/IngredientsBoutique"
sed 's/^/   /' "$cat_dir/IngredientsOrthalis" | cut -c1-150

echo "== emporteur-cli verifier (vérification automatique, sans fenêtre)"
"$cli" verifier | sed 's/^/   /' || true

dest=$W/home/Téléchargements
echo "== emporteur-cli telecharger : choix selon la version installée, dans $dest"
"$cli" telecharger --dossier "$dest"
cmp "$dest/MiseAJour62.exe" "$W/www/maj/win/maj_6162.exe" && echo "   Contenu identique à l'original."

echo "== Un octet abîmé au milieu du deuxième segment, puis nouveau téléchargement"
printf '\xff' | dd of="$dest/MiseAJour62.exe" bs=1 seek=1500000 conv=notrunc status=none
: > "$W/nginx/acces.log"
"$cli" telecharger --dossier "$dest"
cmp "$dest/MiseAJour62.exe" "$W/www/maj/win/maj_6162.exe" && echo "   Fichier réparé, identique à l'original."
echo "   Requêtes reçues par le serveur pendant la réparation :"
grep -F 'maj_6162' "$W/nginx/acces.log" | sed 's/^/     /'
