#!/usr/bin/env bash
# Banc d'essai du téléchargement : un fichier de 1 Gio servi par nginx sur la boucle
# locale, téléchargé par emporteur-cli, curl et aria2 (une connexion), puis la reprise
# d'un fichier déjà complet comparée à une lecture par cat. Temps réels et mémoire de pointe.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/serveur-local.sh

TAILLE_MIO=${TAILLE_MIO:-1024}
SEGMENT=${SEGMENT:-1048576}

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DEMPORTEUR_TESTS=OFF >/dev/null
cmake --build build-bench --target emporteur-cli >/dev/null
cli=$PWD/build-bench/emporteur-cli

travail=$(mktemp -d /tmp/emporteur-banc-XXXXXX)
trap 'arreter_nginx; rm -rf "$travail"' EXIT
mkdir -p "$travail/www/fichiers" "$travail/catalogue" "$travail/nginx"
head -c "$((TAILLE_MIO * 1048576))" /dev/urandom > "$travail/www/fichiers/gros.bin"
demarrer_nginx "$travail/www" "$travail/nginx"
site="127.0.0.1:$NGINX_PORT"
url="http://$site/fichiers/gros.bin"

printf '2.1.0.0\n ver="1.0.0.0" des="Banc" titre="Banc" cles="gros"\n' > "$travail/catalogue/RecettesOrthalis"
{ echo "2.1.0.0"; "$cli" ingredient "$travail/www/fichiers/gros.bin" "$SEGMENT" --cle gros \
    --site "$site" --rep fichiers --distant gros.bin --local gros.bin; } > "$travail/catalogue/IngredientsOrthalis"
printf 'boutique\n' > "$travail/catalogue/IngredientsBoutique"

# mesurer NOM PREPARATION COMMANDE… : trois passes, chacune après `sync` et la
# préparation (effacer la sortie précédente) ; imprime la médiane "secondes kio"
# d'après /usr/bin/time -v.
mesurer() {
  local nom=$1 preparation=$2; shift 2
  for passe in 1 2 3; do
    eval "$preparation"; sync
    /usr/bin/time -v "$@" >/dev/null 2>"$travail/time.$nom.$passe"
    awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                  for (i = 1; i <= n; i++) s = s * 60 + t[i]; secondes = s }
                /Maximum resident set size/ { kio = $2 }
                END { printf "%.3f %d\n", secondes, kio }' "$travail/time.$nom.$passe"
  done | sort -n | sed -n 2p
}

cat "$travail/www/fichiers/gros.bin" > /dev/null   # même cache chaud pour tous

read -r t_emp m_emp < <(mesurer emporteur 'rm -rf "$travail/emporteur"' "$cli" telecharger \
  --catalogue "$travail/catalogue" --recette 0 --dossier "$travail/emporteur")
cmp "$travail/emporteur/gros.bin" "$travail/www/fichiers/gros.bin"
read -r t_curl m_curl < <(mesurer curl 'rm -f "$travail/curl.bin"' curl -s -o "$travail/curl.bin" "$url")
read -r t_aria m_aria < <(mesurer aria2 'rm -rf "$travail/aria2"' aria2c -q \
  --max-connection-per-server=1 --split=1 --allow-overwrite=true --file-allocation=none \
  -d "$travail/aria2" -o gros.bin "$url")
rm -rf "$travail/curl.bin" "$travail/aria2"
read -r t_rep m_rep < <(mesurer reprise ':' "$cli" telecharger --catalogue "$travail/catalogue" \
  --recette 0 --dossier "$travail/emporteur")
read -r t_cat m_cat < <(mesurer cat ':' cat "$travail/emporteur/gros.bin")
cmp "$travail/emporteur/gros.bin" "$travail/www/fichiers/gros.bin"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
echo "Médianes de trois passes. Téléchargement de $TAILLE_MIO Mio en segments de $SEGMENT octets sur 127.0.0.1 (nginx)"
printf '  %-34s %8s s  %8s Kio\n' "emporteur-cli telecharger" "$t_emp" "$m_emp" \
  "curl -o" "$t_curl" "$m_curl" "aria2c (1 connexion)" "$t_aria" "$m_aria" \
  "reprise (fichier complet présent)" "$t_rep" "$m_rep" "cat du fichier" "$t_cat" "$m_cat"
echo "  Emporteur / curl        : $(ratio "$t_emp" "$t_curl")×  (barre 1,5×, but 1,2×)"
echo "  Emporteur / aria2       : $(ratio "$t_emp" "$t_aria")×  (barre < 1)"
echo "  Reprise / cat           : $(ratio "$t_rep" "$t_cat")×"
echo "  Mémoire de pointe       : $((m_emp / 1024)) Mio (barre 40 Mio)"
