#!/usr/bin/env bash
# Construit le paquet avec scripts/paquet.sh, l'extrait et vérifie ce qu'il installe :
# les deux programmes, l'entrée du bureau, AppStream, le manuel, les unités systemd,
# lintian. verifier-paquet.sh DOSSIER_DE_CONSTRUCTION
set -uo pipefail
sources=$(cd "$(dirname "$0")/../.." && pwd)
construction=$1
echecs=0
echec() { echo "ÉCHEC : $*"; echecs=$((echecs + 1)); }

paquet=$(bash "$sources/scripts/paquet.sh" "$construction" | tail -n 1) || {
  echo "ÉCHEC : scripts/paquet.sh"
  exit 1
}
echo "Paquet : $paquet"
racine=$(mktemp -d)
trap 'rm -rf "$racine"' EXIT
dpkg-deb -x "$paquet" "$racine/arbre" || exit 1
arbre=$racine/arbre

for attendu in usr/bin/emporteur usr/bin/emporteur-cli \
  usr/share/applications/emporteur.desktop \
  usr/share/metainfo/example.mervane.Emporteur.metainfo.xml \
  usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/emporteur.png \
  usr/share/icons/hicolor/scalable/apps/emporteur.svg \
  usr/share/man/man1/emporteur.1.gz usr/share/man/man1/emporteur-cli.1.gz \
  usr/share/bash-completion/completions/emporteur-cli \
  usr/share/doc/emporteur/copyright usr/share/doc/emporteur/changelog.gz \
  usr/lib/systemd/user/emporteur-verification.service \
  usr/lib/systemd/user/emporteur-verification.timer; do
  [ -f "$arbre/$attendu" ] || echec "absent du paquet : $attendu"
done

# Les dépendances viennent des binaires.
depends=$(dpkg-deb -f "$paquet" Depends)
for d in libcurl4 libsqlite3-0 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n; do
  [[ $depends == *"$d"* ]] || echec "Depends sans $d : $depends"
done
[[ $(dpkg-deb -f "$paquet" Recommends) == *xdg-utils* ]] || echec "Recommends sans xdg-utils"

# Les deux programmes répondent, sans affichage pour emporteur.
[ "$("$arbre/usr/bin/emporteur-cli" --version | head -n1)" = "emporteur-cli 3.0.0.0" ] ||
  echec "emporteur-cli --version"
[ "$(DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=xcb "$arbre/usr/bin/emporteur" --version | head -n1)" = \
  "emporteur 3.0.0.0" ] || echec "emporteur --version"

desktop-file-validate "$arbre/usr/share/applications/emporteur.desktop" ||
  echec "desktop-file-validate"
appstreamcli validate --no-net "$arbre/usr/share/metainfo/example.mervane.Emporteur.metainfo.xml" ||
  echec "appstreamcli validate"
# La complétion garde entier un nom avec des espaces, et complète après « --dossier= ».
completion=$arbre/usr/share/bash-completion/completions/emporteur-cli
essai=$(mktemp -d)
mkdir -p "$essai/Mes documents"
reponses=$(cd "$essai" && bash -c '
  source "$1"
  complete -p emporteur-cli
  COMP_WORDS=(emporteur-cli telecharger --dossier "Mes"); COMP_CWORD=3; _emporteur_cli
  printf "[%s]\n" "${COMPREPLY[@]}"
  COMP_WORDS=(emporteur-cli telecharger --dossier = "Mes"); COMP_CWORD=4; _emporteur_cli
  printf "[%s]\n" "${COMPREPLY[@]}"' _ "$completion")
rm -rf "$essai"
[[ $reponses == *"-o filenames"* ]] || echec "complétion sans -o filenames : $reponses"
[ "$(grep -c '^\[Mes documents\]$' <<<"$reponses")" = 2 ] || echec "complétion : $reponses"

# Chaque capture que liste le fichier AppStream est l'une de docs/captures.
sources=$(cd "$(dirname "$0")/../.." && pwd)
for image in $(grep -o 'captures/[^<]*\.png' "$arbre/usr/share/metainfo/example.mervane.Emporteur.metainfo.xml"); do
  [ -f "$sources/docs/$image" ] || echec "capture listée mais absente : docs/$image"
done

for page in "$arbre"/usr/share/man/man1/*.1.gz; do
  avertissements=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$avertissements" ] || echec "man -l $(basename "$page") : $avertissements"
done

if command -v systemd-analyze >/dev/null; then
  # Le service lance /usr/bin/emporteur-cli : vérifié sur une copie qui vise l'arbre
  # extrait ; Documentation= cherche les pages dans le manuel extrait.
  unites=$racine/unites
  mkdir -p "$unites" "$racine/execution"
  chmod 700 "$racine/execution"
  sed "s|/usr/bin/|$arbre/usr/bin/|" "$arbre/usr/lib/systemd/user/emporteur-verification.service" \
    >"$unites/emporteur-verification.service"
  cp "$arbre/usr/lib/systemd/user/emporteur-verification.timer" "$unites/"
  (cd "$unites" && MANPATH=$arbre/usr/share/man XDG_RUNTIME_DIR=$racine/execution \
    systemd-analyze --user verify emporteur-verification.timer emporteur-verification.service) ||
    echec "systemd-analyze verify"
else
  echo "systemd-analyze absent : vérification des unités sautée."
fi

lintian_sortie=$(lintian --allow-root "$paquet" 2>&1)
echo "lintian :"
echo "$lintian_sortie"
! grep -q '^E:' <<<"$lintian_sortie" || echec "lintian signale des erreurs"

[ "$echecs" = 0 ] && echo "Paquet vérifié." || exit 1
