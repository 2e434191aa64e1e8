#!/usr/bin/env bash
# Démonstration sur une installation locale intégrée : un serveur de téléchargement
# (nginx sur 127.0.0.1) sert le catalogue et les fichiers ; Orthalis 6.1.0.12 est
# « installé » dans un dossier temporaire et trouvé par le registre. Emporteur vérifie
# les mises à jour, télécharge par segments, puis répare un fichier abîmé en ne
# redemandant que le segment touché. Le catalogue est signé avec une clé que la
# démonstration génère et compile dans sa construction (build-demo/) ; un catalogue
# falsifié est refusé.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/installation-locale.sh

journal=$(mktemp)
construire() { "$@" >"$journal" 2>&1 || { cat "$journal"; exit 1; }; }
echo "== Préparation (paquets, construction)"
construire bash scripts/installer.sh
# Une paire de clés du « fabricant », faite une fois avec openssl ; la clé publique est
# donnée à la configuration d'une construction à part (build/ reste sans clé).
cles=$PWD/build-demo/cle-demo
if [ ! -f "$cles/cle.pem" ]; then
  mkdir -p "$cles"
  openssl ecparam -name prime256v1 -genkey -noout -out "$cles/cle.pem"
  openssl pkey -in "$cles/cle.pem" -pubout -out "$cles/cle-publique.pem"
fi
construire cmake -S . -B build-demo -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DEMPORTEUR_CLES_PUBLIQUES=$cles/cle-publique.pem"
construire cmake --build build-demo --target emporteur emporteur-cli fixtures_version
cli=$PWD/build-demo/emporteur-cli
produit=$PWD/build-demo/tests/fixtures/version/produit32.exe
"$cli" --version | sed 's/^/   /'

# Tout l'environnement de l'utilisateur dans un dossier temporaire ; Orthalis y est
# installé et déclaré dans le registre, nginx sert le catalogue et les fichiers.
echo "== Orthalis installé, catalogue rédigé avec emporteur-cli ingredient, servi par nginx"
preparer_installation "$cli" "$produit"
trap 'arreter_nginx; rm -rf "$W"' EXIT
"$cli" version-installee | sed 's/^/   /'
cat_dir=$CATALOGUE
sed 's/^/   /' "$cat_dir/IngredientsOrthalis" | cut -c1-150

echo "== Catalogue signé : emporteur-cli signer (série 1, un an), vérifié aussi par openssl"
expire=$(date -d '+1 year' +%F)
for texte in RecettesOrthalis IngredientsOrthalis IngredientsBoutique; do
  "$cli" signer --cle-privee "$cles/cle.pem" --serie 1 --expire "$expire" "$cat_dir/$texte" |
    sed "s|$cat_dir/||g; s/^/   /"
  printf '   openssl : '
  openssl dgst -sha256 -verify "$cles/cle-publique.pem" -signature "$cat_dir/$texte.sig" \
    "$cat_dir/$texte"
done
sed -n 2p "$cat_dir/RecettesOrthalis" | sed 's/^/   ligne de série : /'

echo "== emporteur-cli verifier (vérification automatique, sans fenêtre)"
"$cli" verifier | sed 's/^/   /' || true

dest=$W/home/Téléchargements
echo "== emporteur-cli telecharger : choix selon la version installée, dans $dest"
"$cli" telecharger --dossier "$dest"
cmp "$dest/MiseAJour62.exe" "$FICHIER_MAJ" && echo "   Contenu identique à l'original."

echo "== Catalogue falsifié en route (une taille changée, la signature gardée) : refusé"
cp "$cat_dir/IngredientsOrthalis" "$W/IngredientsOrthalis.vrai"
sed -i '3s/taille="6000000"/taille="6000001"/' "$cat_dir/IngredientsOrthalis"
"$cli" verifier 2>&1 | sed 's/^/   /' || echo "   (code $?, rien n'est offert d'un catalogue refusé)"
cp "$W/IngredientsOrthalis.vrai" "$cat_dir/IngredientsOrthalis"

echo "== Un octet abîmé au milieu du deuxième segment, puis nouveau téléchargement"
printf '\xff' | dd of="$dest/MiseAJour62.exe" bs=1 seek=1500000 conv=notrunc status=none
: > "$W/nginx/acces.log"
"$cli" telecharger --dossier "$dest"
cmp "$dest/MiseAJour62.exe" "$FICHIER_MAJ" && echo "   Fichier réparé, identique à l'original."
echo "   Requêtes reçues par le serveur pendant la réparation :"
grep -F 'maj_6162' "$W/nginx/acces.log" | sed 's/^/     /'

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "== L'assistant à fenêtres sur le même catalogue (fermez-le pour finir)"
  build-demo/emporteur
else
  echo "== Sans affichage : l'assistant à fenêtres n'est pas ouvert (DISPLAY absent)."
fi
