#!/usr/bin/env bash
# Banc d'essai du téléchargement, emporteur-cli face à curl dans la même exécution,
# passes entrelacées (A, B, A, B…), médianes :
#  1. lien lointain : LOINTAIN_MIO Mio à travers bench/retardateur (25 ms dans chaque
#     sens, soit 50 ms d'aller-retour, au plus 4 Mio en route par sens) devant nginx
#     sur la boucle locale : une connexion, CONNEXIONS connexions, curl ;
#  2. boucle locale : TAILLE_MIO Mio servis par nginx, chaque outil chronométré sans
#     vidage puis jusqu'à un `sync` de ce qu'il a écrit ;
#  3. aria2 (une connexion), puis la reprise d'un fichier déjà complet face à cat ;
#  4. réparation d'un octet inversé dans le fichier complet de TAILLE_MIO Mio, face à
#     une vérification du même fichier (emporteur-cli crc FICHIER 1000000).
# Temps réels, mémoire de pointe et octets écrits d'après /usr/bin/time -v.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/serveur-local.sh

TAILLE_MIO=${TAILLE_MIO:-512}
LOINTAIN_MIO=${LOINTAIN_MIO:-256}
CONNEXIONS=${CONNEXIONS:-4}
TAMPON_MIO=${TAMPON_MIO:-4}
SEGMENT=${SEGMENT:-1048576}
PASSES=${PASSES:-5}
DELAI_MS=${DELAI_MS:-25}

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DEMPORTEUR_TESTS=OFF >/dev/null
cmake --build build-bench --target emporteur-cli >/dev/null
cli=$PWD/build-bench/emporteur-cli
retardateur=$PWD/build-bench/retardateur
g++ -O2 -std=c++20 -pthread bench/retardateur.cpp -o "$retardateur"

travail=$(mktemp -d /tmp/emporteur-banc-XXXXXX)
RETARDATEUR_PID=
trap '[ -n "$RETARDATEUR_PID" ] && kill "$RETARDATEUR_PID" 2>/dev/null; arreter_nginx; rm -rf "$travail"' EXIT
mkdir -p "$travail/www/fichiers" "$travail/nginx"
head -c "$((TAILLE_MIO * 1048576))" /dev/urandom > "$travail/www/fichiers/gros.bin"
head -c "$((LOINTAIN_MIO * 1048576))" /dev/urandom > "$travail/www/fichiers/loin.bin"
demarrer_nginx "$travail/www" "$travail/nginx"
port_loin=$(port_libre)
"$retardateur" "$port_loin" "$NGINX_PORT" "$DELAI_MS" 120 "$TAMPON_MIO" &
RETARDATEUR_PID=$!
for _ in $(seq 1 100); do (exec 3<>"/dev/tcp/127.0.0.1/$port_loin") 2>/dev/null && break; sleep 0.05; done

# catalogue DOSSIER SITE FICHIER : un élément d'un fichier, rédigé par emporteur-cli.
catalogue() {
  mkdir -p "$1"
  printf '2.1.0.0\n ver="1.0.0.0" des="Banc" titre="Banc" cles="k"\n' > "$1/RecettesOrthalis"
  { echo "2.1.0.0"; "$cli" ingredient "$travail/www/fichiers/$3" "$SEGMENT" --cle k \
      --site "$2" --rep fichiers --distant "$3" --local "$3"; } > "$1/IngredientsOrthalis"
  printf 'boutique\n' > "$1/IngredientsBoutique"
}
catalogue "$travail/cat-local" "127.0.0.1:$NGINX_PORT" gros.bin
catalogue "$travail/cat-loin" "127.0.0.1:$port_loin" loin.bin

# passe NOM PREPARATION COMMANDE : une passe après la préparation et un `sync` ;
# ajoute « secondes kio » à $travail/mesures.NOM.
passe() {
  local nom=$1 preparation=$2 commande=$3
  eval "$preparation"; sync
  /usr/bin/time -v bash -c "$commande" >/dev/null 2>"$travail/time"
  awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, t, ":"); s = 0;
                for (i = 1; i <= n; i++) s = s * 60 + t[i]; secondes = s }
              /Maximum resident set size/ { kio = $2 }
              /File system outputs/ { ecrits = $2 * 512 }
              END { printf "%.3f %d %d\n", secondes, kio, ecrits }' "$travail/time" >> "$travail/mesures.$nom"
}
# mediane NOM : « secondes kio octets » (médiane des temps, pointe de mémoire et octets
# écrits les plus hauts).
mediane() {
  sort -n "$travail/mesures.$1" | awk '{ t[NR] = $1; if ($2 > m) m = $2; if ($3 > e) e = $3 }
    END { printf "%.3f %d %d\n", (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2, m, e }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

emp() { echo "'$cli' telecharger --catalogue '$travail/cat-$1' --recette 0 --dossier '$travail/emp-$1' ${2:-}"; }
# --connexions seulement si cette construction le connaît.
if "$cli" telecharger --help 2>&1 | grep -q -- --connexions; then multi="--connexions $CONNEXIONS"; else multi=; fi
cat "$travail/www/fichiers/"*.bin > /dev/null   # même cache chaud pour tous

for p in $(seq 1 "$PASSES"); do
  passe emp-loin "rm -rf '$travail/emp-loin'" "$(emp loin)"
  [ -n "$multi" ] && passe multi-loin "rm -rf '$travail/emp-loin'" "$(emp loin "$multi")"
  passe curl-loin "rm -f '$travail/curl.bin'" "curl -s -o '$travail/curl.bin' http://127.0.0.1:$port_loin/fichiers/loin.bin"
done
cmp "$travail/emp-loin/loin.bin" "$travail/www/fichiers/loin.bin"
cmp "$travail/curl.bin" "$travail/www/fichiers/loin.bin"
rm -rf "$travail/emp-loin" "$travail/curl.bin"

url="http://127.0.0.1:$NGINX_PORT/fichiers/gros.bin"
for p in $(seq 1 "$PASSES"); do
  passe emp-local "rm -rf '$travail/emp-local'" "$(emp local)"
  passe curl-local "rm -f '$travail/curl.bin'" "curl -s -o '$travail/curl.bin' $url"
  passe emp-sync "rm -rf '$travail/emp-local'" "$(emp local) && sync '$travail/emp-local/gros.bin'"
  passe curl-sync "rm -f '$travail/curl.bin'" "curl -s -o '$travail/curl.bin' $url && sync '$travail/curl.bin'"
done
cmp "$travail/emp-local/gros.bin" "$travail/www/fichiers/gros.bin"
rm -f "$travail/curl.bin"
for p in $(seq 1 3); do
  passe aria2 "rm -rf '$travail/aria2'" "aria2c -q --max-connection-per-server=1 --split=1 \
    --allow-overwrite=true --file-allocation=none -d '$travail/aria2' -o gros.bin $url"
  passe reprise ":" "$(emp local)"
  passe cat ":" "cat '$travail/emp-local/gros.bin'"
done
rm -rf "$travail/aria2"
cmp "$travail/emp-local/gros.bin" "$travail/www/fichiers/gros.bin"

# Un octet inversé au milieu du fichier complet : un segment à redemander.
inverser() {
  python3 -c "import sys; f = open(sys.argv[1], 'r+b'); f.seek(int(sys.argv[2])); b = f.read(1); f.seek(int(sys.argv[2])); f.write(bytes([b[0] ^ 1]))" "$1" "$2"
}
for p in $(seq 1 "$PASSES"); do
  passe reparation "inverser '$travail/emp-local/gros.bin' $((TAILLE_MIO * 524288 + 12345))" "$(emp local)"
  passe verification ":" "'$cli' crc '$travail/emp-local/gros.bin' 1000000"
done
cmp "$travail/emp-local/gros.bin" "$travail/www/fichiers/gros.bin"

[ -n "$multi" ] || echo "0 0 0" > "$travail/mesures.multi-loin"
for n in emp-loin multi-loin curl-loin emp-local curl-local emp-sync curl-sync aria2 reprise cat reparation verification; do
  read -r "t_${n//-/_}" "m_${n//-/_}" "e_${n//-/_}" < <(mediane "$n")
done
echo "Médianes de $PASSES passes entrelacées (aria2, reprise, cat : 3), segments de $SEGMENT octets, nginx sur 127.0.0.1"
echo "Lien lointain ($((2 * DELAI_MS)) ms d'aller-retour, $TAMPON_MIO Mio en route par sens, bench/retardateur), $LOINTAIN_MIO Mio :"
printf '  %-34s %8s s  %8s Kio\n' "emporteur-cli telecharger" "$t_emp_loin" "$m_emp_loin" \
  "emporteur-cli ${multi:-(sans --connexions)}" "$t_multi_loin" "$m_multi_loin" \
  "curl -o" "$t_curl_loin" "$m_curl_loin"
echo "  Emporteur 1 connexion / curl : $(ratio "$t_emp_loin" "$t_curl_loin")×  (barre 1,1×)"
[ -n "$multi" ] && echo "  Emporteur $CONNEXIONS connexions / curl : $(ratio "$t_multi_loin" "$t_curl_loin")×  (barre 0,5×, but 0,4×)"
echo "Boucle locale, $TAILLE_MIO Mio :"
printf '  %-34s %8s s  %8s Kio\n' "emporteur-cli, sans vidage" "$t_emp_local" "$m_emp_local" \
  "curl -o, sans vidage" "$t_curl_local" "$m_curl_local" \
  "emporteur-cli puis sync du fichier" "$t_emp_sync" "$m_emp_sync" \
  "curl -o puis sync du fichier" "$t_curl_sync" "$m_curl_sync" \
  "aria2c (1 connexion)" "$t_aria2" "$m_aria2" \
  "reprise (fichier complet présent)" "$t_reprise" "$m_reprise" "cat du fichier" "$t_cat" "$m_cat"
echo "  Emporteur / curl, sans vidage : $(ratio "$t_emp_local" "$t_curl_local")×  (barre 1,5×, but 1,2×)"
echo "  Emporteur / curl, avec sync   : $(ratio "$t_emp_sync" "$t_curl_sync")×  (barre 1,5×, but 1,2×)"
echo "  Emporteur / aria2             : $(ratio "$t_emp_local" "$t_aria2")×  (barre < 1)"
echo "  Reprise / cat                 : $(ratio "$t_reprise" "$t_cat")×"
echo "  Mémoire de pointe             : $((m_emp_local / 1024)) Mio (barre 40 Mio)"
echo "Réparation d'un octet dans $TAILLE_MIO Mio :"
printf '  %-34s %8s s  %8s Kio  %10s octets écrits\n' "emporteur-cli telecharger" "$t_reparation" "$m_reparation" "$e_reparation" \
  "emporteur-cli crc FICHIER 1000000" "$t_verification" "$m_verification" "$e_verification"
echo "  Réparation / (2 × vérification + 0,1 s) : $(awk -v a="$t_reparation" -v b="$t_verification" 'BEGIN { printf "%.2f", a / (2 * b + 0.1) }')×  (barre 1×)"
echo "  Octets écrits par la réparation : $((e_reparation / 1024)) Kio (barre 4 Mio)"
