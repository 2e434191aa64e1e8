# Fonctions à sourcer : l'installation locale intégrée de la démonstration et des
# captures. Orthalis 6.1.0.12 « installé » dans un dossier temporaire et déclaré dans
# le registre ; nginx sur 127.0.0.1 sert le catalogue et les fichiers.
#   preparer_installation CLI PRODUIT_EXE  → W (dossier de travail, exporte HOME,
#   XDG_*, EMPORTEUR_SERVEUR, EMPORTEUR_SITE), CATALOGUE, FICHIER_MAJ
# Le serveur s'arrête par arreter_nginx.
source "$(dirname "${BASH_SOURCE[0]}")/serveur-local.sh"

preparer_installation() {
  local cli=$1 produit=$2
  W=$(mktemp -d /tmp/emporteur-demo-XXXXXX)
  export HOME=$W/home XDG_CONFIG_HOME=$W/home/.config XDG_DATA_HOME=$W/home/.local/share
  export XDG_CONFIG_DIRS=$W/etc/xdg XDG_RUNTIME_DIR=$W/run
  unset http_proxy
  mkdir -p "$HOME" "$W/run" "$W/www/maj/win" "$W/www/telecharger/assistants/Win" "$W/nginx" \
    "$W/Orthalis"
  chmod 700 "$W/run"
  cp "$produit" "$W/Orthalis/Orthal32.exe"
  "$cli" registre ecrire 'Software\Mervane\Orthalis\6.0\Installation' DossierOrthalis \
    "$W/Orthalis"
  FICHIER_MAJ=$W/www/maj/win/maj_6162.exe
  head -c 6000000 /dev/urandom > "$FICHIER_MAJ"
  printf 'Notes de version d’Orthalis 6.2\n' > "$W/www/maj/win/notes62.txt"
  head -c 3000000 /dev/urandom > "$W/www/maj/win/maj_6062.exe"
  head -c 2500000 /dev/urandom > "$W/www/maj/win/guide62.pdf"
  demarrer_nginx "$W/www" "$W/nginx"
  export EMPORTEUR_SERVEUR=127.0.0.1:$NGINX_PORT EMPORTEUR_SITE=127.0.0.1:$NGINX_PORT
  local site=127.0.0.1:$NGINX_PORT
  CATALOGUE=$W/www/telecharger/assistants/Win
  cat > "$CATALOGUE/RecettesOrthalis" <<TXT
2.1.0.0
# mises à jour de la version 6
 ver="6.1.0.12" produit="Orthalis 6.2" verMaj="6.2.0.3" titre="Mises à jour" des="Mise à jour de 6.1 à 6.2" cles="maj6162* notes62"
 ver="6.0.0.8" produit="Orthalis 6.2" verMaj="6.2.0.3" titre="Mises à jour" des="Mise à jour de 6.0 à 6.2" cles="maj6062* notes62"
 ver="" produit="Orthalis 6.2" verMaj="" titre="Documentation" des="Guide de l’utilisateur d’Orthalis 6.2" cles="guide62"
TXT
  {
    echo "2.1.0.0"
    "$cli" ingredient "$FICHIER_MAJ" 1000000 --cle maj6162 --site "$site" \
      --rep maj/win --distant maj_6162.exe --local MiseAJour62.exe
    "$cli" ingredient "$W/www/maj/win/maj_6062.exe" 1000000 --cle maj6062 --site "$site" \
      --rep maj/win --distant maj_6062.exe --local MiseAJour6062.exe
    "$cli" ingredient "$W/www/maj/win/guide62.pdf" 1000000 --cle guide62 --site "$site" \
      --rep maj/win --distant guide62.pdf --local Guide62.pdf
    "$cli" ingredient "$W/www/maj/win/notes62.txt" 1000000 --cle notes62 --site "$site" \
      --rep maj/win --distant notes62.txt --local notes62.txt
  } > "$CATALOGUE/IngredientsOrthalis"
  printf 'boutique\ncle="Orthalis" ver="7.0.0.1" produit="Orthalis 7" des="Mise à niveau vers Orthalis 7"\n' \
    > "$CATALOGUE/IngredientsBoutique"
}
