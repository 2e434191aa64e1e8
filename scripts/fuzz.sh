#!/usr/bin/env bash
# Lance chaque cible libFuzzer d'un dossier de construction pendant un temps borné.
# Usage : scripts/fuzz.sh DOSSIER_CONSTRUCTION SECONDES_PAR_CIBLE
set -euo pipefail
construction=${1:?dossier de construction}
secondes=${2:-60}
cibles=$(find "$construction/tests/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
[ -n "$cibles" ] || { echo "Aucune cible de fuzzing dans $construction"; exit 1; }
for cible in $cibles; do
  nom=$(basename "$cible")
  corpus=$(mktemp -d)
  graines="$(dirname "$0")/../tests/fuzz/graines/${nom#fuzz_}"
  [ -d "$graines" ] && cp -r "$graines"/. "$corpus"/
  # Graines produites à la construction (exécutables de test compilés, jamais versionnés).
  graines="$construction/tests/fuzz/graines/${nom#fuzz_}"
  [ -d "$graines" ] && cp -r "$graines"/. "$corpus"/
  echo "== $nom : ${secondes} s"
  "$cible" -max_total_time="$secondes" -max_len=65536 -rss_limit_mb=2048 -print_final_stats=1 \
    "$corpus" 2>&1 | tail -n 12
  rm -rf "$corpus"
done
