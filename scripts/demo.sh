#!/usr/bin/env bash
# Démonstration sur une installation locale intégrée : installe ce qui manque,
# construit emporteur-cli et interprète le catalogue d'exemple.
set -euo pipefail
cd "$(dirname "$0")/.."

journal=$(mktemp)
construire() { "$@" >"$journal" 2>&1 || { cat "$journal"; exit 1; }; }
construire bash scripts/installer.sh
construire cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
construire cmake --build build --target emporteur-cli
cli=build/emporteur-cli

echo "== Catalogue d'exemple (exemples/catalogue), version installée 6.1.0.12"
$cli catalogue exemples/catalogue/RecettesOrthalis exemples/catalogue/IngredientsOrthalis \
  exemples/catalogue/IngredientsBoutique --version-installee 6.1.0.12 > /tmp/emporteur-demo.json
if command -v python3 >/dev/null; then
  python3 - /tmp/emporteur-demo.json <<'PY'
import json, sys
j = json.load(open(sys.argv[1]))
print(f"Boutique : {j['produitBoutique']} (majeur {j['majeurBoutique']}), "
      f"mise à niveau offerte : {'oui' if j['miseANiveauOfferte'] else 'non'}")
for i, r in enumerate(j["recettes"]):
    taille = sum(f["taille"] for f in r["fichiers"])
    print(f"[{i}] {r['titre']} / {r['description']} (pour {r['version']}, {taille} octets)")
    for f in r["fichiers"]:
        print(f"      {f['nomLocal']:<28} {f['taille']:>9} o  {len(f['crcs'])} segment(s)"
              + ("  à lancer" if f["aLancer"] else ""))
PY
else
  cat /tmp/emporteur-demo.json
fi
