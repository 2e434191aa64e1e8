#!/usr/bin/env bash
# Aller-retour de l'installateur Windows sous wine, dans un préfixe neuf : installation
# silencieuse (/S), ce qu'elle pose, emporteur-cli.exe --version de l'installé,
# désinstallation silencieuse par la commande que donne la fiche de désinstallation, puis
# plus rien de posé : fichiers, raccourci, clés.
#
#   aller-retour.sh --installateur FICHIER.exe --version V
#   aller-retour.sh --remplacants emporteur.nsi --version V --verification EXE
# La seconde forme construit l'installateur ici, avec le vrai emporteur-verification.exe
# et deux petits programmes de remplacement compilés par mingw, tant que emporteur.exe et
# emporteur-cli.exe ne se lient pas pour Windows.
set -euo pipefail
ici=$(cd "$(dirname "$0")" && pwd)

installateur="" script="" version="" verification=""
while [ $# -gt 0 ]; do
  case $1 in
    --installateur) installateur=$2; shift 2 ;;
    --remplacants) script=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --verification) verification=$2; shift 2 ;;
    *) echo "argument inconnu : $1" >&2; exit 2 ;;
  esac
done
[ -n "$version" ] && { [ -n "$installateur" ] || { [ -n "$script" ] && [ -n "$verification" ]; }; } ||
  { echo "usage : $0 (--installateur EXE | --remplacants NSI --verification EXE) --version V" >&2
    exit 2; }

# Un préfixe, un HOME et un TMPDIR à ce test : son propre wineserver, arrêté à la fin.
W=$(mktemp -d /tmp/emporteur-installation.XXXXXX)
export WINEPREFIX=$W/prefixe HOME=$W/maison TMPDIR=$W/tmp
export WINEDEBUG=-all LC_ALL=C.UTF-8
# Ni Mono ni Gecko à installer ; pas d'entrées de menu du bureau Linux.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Une installation silencieuse ne montre rien : une fenêtre inattendue échoue au lieu
# d'attendre quelqu'un.
unset DISPLAY WAYLAND_DISPLAY
mkdir -p -m 700 "$TMPDIR" "$HOME"
finir() { wineserver -k 2>/dev/null || true; rm -rf "$W"; }
trap finir EXIT

wine_() { timeout 120 wine "$@"; }
# Attend la fin de tous les processus du préfixe (le désinstallateur se relance depuis
# le dossier temporaire) ; le registre est alors écrit sur disque.
calme() {
  timeout 120 wineserver -w || { echo "wine encore occupé après 120 s : abandon." >&2; return 1; }
}

if [ -n "$script" ]; then
  mkdir -p "$W/remplacants"
  for nom in emporteur emporteur-cli; do
    x86_64-w64-mingw32-gcc-posix -O2 -s -DNOM="\"$nom\"" -DVERSION="\"$version\"" \
      -o "$W/remplacants/$nom.exe" "$ici/remplacant.c"
  done
  makensis -V2 -WX -DVERSION="$version" -DEXE_EMPORTEUR="$W/remplacants/emporteur.exe" \
    -DEXE_CLI="$W/remplacants/emporteur-cli.exe" -DEXE_VERIFICATION="$verification" \
    -DSORTIE="$W/installateur.exe" "$script"
else
  # cmd /c reçoit la ligne telle quelle : un chemin sans espace, celui du dossier du test.
  cp "$installateur" "$W/installateur.exe"
fi
installateur=$W/installateur.exe
x86_64-w64-mingw32-gcc-posix -municode -O2 -s -o "$W/occupant.exe" "$ici/occupant.c"

timeout 300 wineboot -i >/dev/null 2>&1 || true
calme

reussis=0 echecs=0
verifier() { # description, puis la commande qui doit réussir
  local d=$1; shift
  if "$@"; then reussis=$((reussis + 1)); else echecs=$((echecs + 1)); echo "ÉCHEC : $d" >&2; fi
}
code() { # code de sortie attendu, puis la commande
  local attendu=$1 obtenu=0; shift
  "$@" || obtenu=$?
  egal "$obtenu" "$attendu"
}
egal() { [ "$1" = "$2" ] || { echo "  obtenu : «$1»  attendu : «$2»" >&2; return 1; }; }
absent() { [ ! -e "$1" ]; }
serveur_ferme() { EMPORTEUR_SERVEUR=127.0.0.1:1 "$@"; }

CLE_DESINST='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Emporteur'
CLE_RUN='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Run'
RACCOURCI="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Emporteur.lnk"
DEFAUT='C:\Program Files\Mervane\Emporteur'

# Une valeur du registre, vide si elle ou sa clé manque. Lue dans l'export de regedit
# (UTF-16) : reg.exe l'écrirait dans la page de code de la console, accents perdus.
valeur() {
  rm -f "$W/export.reg"
  wine_ regedit /E "$(winepath -w "$W/export.reg")" "$1" >/dev/null 2>&1 || true
  [ -f "$W/export.reg" ] || return 0
  python3 -c 'import re, sys
lignes = open(sys.argv[1], encoding="utf-16").read().splitlines()
debut = lignes.index("[" + sys.argv[2] + "]") + 1
for ligne in lignes[debut:]:
    if ligne.startswith("["): break
    m = re.match(r"\"((?:[^\"\\]|\\.)*)\"=(.*)$", ligne)
    if not m or m.group(1) != sys.argv[3]: continue
    v = m.group(2)
    if v.startswith("\""): v = re.sub(r"\\(.)", r"\1", v[1:-1])
    print(v)' "$W/export.reg" "$1" "$2"
}
cle_absente() {
  rm -f "$W/export.reg"
  wine_ regedit /E "$(winepath -w "$W/export.reg")" "$1" >/dev/null 2>&1 || true
  [ ! -f "$W/export.reg" ]
}
# Le raccourci désigne-t-il ce chemin ? (.lnk garde le chemin en UTF-16.)
lnk_vers() {
  python3 -c 'import sys; d = open(sys.argv[1], "rb").read()
sys.exit(0 if sys.argv[2].encode("utf-16-le") in d else 1)' "$RACCOURCI" "$1"
}
# Image PE pour x86-64 (machine 0x8664) : l'installateur et le désinstallateur sont
# 64 bits, le wine de la machine n'a pas de 32 bits.
pe_64_bits() {
  python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read(4096)
pe = struct.unpack_from("<I", d, 60)[0]
sys.exit(0 if d[pe:pe + 4] == b"PE\0\0" and struct.unpack_from("<H", d, pe + 4)[0] == 0x8664 else 1)' "$1"
}
# Rien au nom du programme ou de l'éditeur, hors des profils (données de l'utilisateur,
# dossier temporaire du désinstallateur) et hors de ce que le cas garde exprès.
rien_ne_reste() {
  local garde=$1 restes
  restes=$(find "$WINEPREFIX/drive_c" -path "$WINEPREFIX/drive_c/users" -prune -o \
    \( -iname '*emporteur*' -o -iname '*mervane*' \) -print |
    awk -v g="$garde" 'g == "" || (g != $0 && index(g, $0 "/") != 1)')
  [ -z "$restes" ] || { echo "  restent : $restes" >&2; return 1; }
  ! grep -a -i -n 'emporteur\|mervane' "$WINEPREFIX/system.reg" >&2
}

# Cas : nom | options | dossier passé par /D (vide : le dossier proposé) | parent créé
#       avant l'installation (à garder) | fichier de l'utilisateur laissé dans le dossier |
#       installé d'abord avec les réglages par défaut (réinstallation) | emporteur.exe
#       tenu ouvert pendant la réinstallation (code 2 attendu, l'installation d'avant reste)
CAS=(
  "dossier proposé||||||"
  "dossier choisi, accents et espaces||C:\\Logiciels à moi\\Émporteur d’essai|C:\\Logiciels à moi|||"
  "fichier de l'utilisateur dans le dossier installé||||notes.txt||"
  "réinstallé sans la vérification à l'ouverture de session|/SANSVERIFICATION||||oui|"
  "réinstallé pendant que le programme est ouvert|||||oui|oui"
)

verifier "installateur 64 bits" pe_64_bits "$installateur"

for cas in "${CAS[@]}"; do
  IFS='|' read -r nom options dossier parent fichier avant occupe <<<"$cas"
  echo "== $nom"
  dossier_attendu=${dossier:-$DEFAUT}
  [ -z "$parent" ] || mkdir -p "$(winepath -u "$parent")"
  [ -z "$avant" ] || verifier "première installation" wine_ "$installateur" /S
  # /D= se passe nu, espaces compris, en dernier : wine le citerait, cmd le laisse tel quel.
  ligne="$(winepath -w "$installateur") /S${options:+ $options}${dossier:+ /D=$dossier}"
  if [ -n "$occupe" ]; then
    rm -f "$W/tenu"
    wine_ "$W/occupant.exe" "$dossier_attendu\\emporteur.exe" "$(winepath -w "$W/tenu")" &
    occupant=$!
    for _ in $(seq 600); do [ -e "$W/tenu" ] && break; sleep 0.1; done
    verifier "emporteur.exe tenu ouvert : réinstallation silencieuse en échec, code 2" \
      code 2 wine_ cmd /c "$ligne"
    rm -f "$W/tenu"
    wait "$occupant" || true
  else
    verifier "installation silencieuse" wine_ cmd /c "$ligne"
  fi
  calme
  u=$(realpath -m "$(winepath -u "$dossier_attendu" 2>/dev/null)")

  for f in emporteur.exe emporteur-cli.exe emporteur-verification.exe desinstaller.exe; do
    verifier "$f installé, 64 bits" pe_64_bits "$u/$f"
  done
  verifier "raccourci vers emporteur.exe" lnk_vers "$dossier_attendu\\emporteur.exe"
  verifier "fiche : nom" egal "$(valeur "$CLE_DESINST" DisplayName)" "Emporteur"
  verifier "fiche : version" egal "$(valeur "$CLE_DESINST" DisplayVersion)" "$version"
  verifier "fiche : éditeur" egal "$(valeur "$CLE_DESINST" Publisher)" "Mervane"
  verifier "fiche : dossier" egal "$(valeur "$CLE_DESINST" InstallLocation)" "$dossier_attendu"
  verifier "fiche : désinstallation silencieuse" egal \
    "$(valeur "$CLE_DESINST" QuietUninstallString)" "\"$dossier_attendu\\desinstaller.exe\" /S"
  run_attendu="\"$dossier_attendu\\emporteur-verification.exe\""
  [[ $options != */SANSVERIFICATION* ]] || run_attendu=""
  verifier "vérification à l'ouverture de session" egal "$(valeur "$CLE_RUN" Emporteur)" "$run_attendu"
  # Ce que ferait l'Explorateur : emporteur-cli.exe verification-programmee, dont le code
  # revient ; un serveur fermé, le catalogue est inaccessible et rien n'est lancé (0).
  verifier "la valeur Run passe à emporteur-cli.exe verification-programmee" \
    code 0 serveur_ferme wine_ "$dossier_attendu\\emporteur-verification.exe"
  sortie=$(wine_ "$dossier_attendu\\emporteur-cli.exe" --version | tr -d '\r' | head -n 1 || true)
  verifier "emporteur-cli.exe --version de l'installé" egal "$sortie" "emporteur-cli $version"

  [ -z "$fichier" ] || echo "à garder" >"$u/$fichier"
  # La commande que lancerait « Ajout/Suppression de programmes », sans l'interface.
  commande=$(valeur "$CLE_DESINST" QuietUninstallString)
  programme=${commande#\"}; programme=${programme%%\"*}
  verifier "désinstallation silencieuse" wine_ "$programme" /S
  calme

  verifier "raccourci retiré" absent "$RACCOURCI"
  verifier "fiche de désinstallation retirée" cle_absente "$CLE_DESINST"
  verifier "valeur Run retirée" egal "$(valeur "$CLE_RUN" Emporteur)" ""
  if [ -n "$fichier" ]; then
    verifier "fichier de l'utilisateur gardé" egal "$(ls "$u")" "$fichier"
    verifier "rien d'autre ne reste" rien_ne_reste "$u"
    rm -rf "$(dirname "$u")"
  else
    verifier "dossier retiré" absent "$u"
    verifier "rien ne reste" rien_ne_reste ""
  fi
  [ -z "$parent" ] || { verifier "dossier parent d'avant gardé" test -d "$(winepath -u "$parent")"
                        rm -rf "$(winepath -u "$parent")"; }
done

echo "$reussis passed, $echecs failed"
[ "$echecs" -eq 0 ]
