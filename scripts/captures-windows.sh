# Le jeu de captures Windows, à sourcer depuis scripts/captures.sh une fois le jeu Linux
# fait : Xvfb ($DISPLAY), nginx et l'installation locale ($W, EMPORTEUR_SERVEUR…) sont
# ceux du jeu Linux. L'installateur construit dans build-win est passé sous wine, page
# par page, puis le programme installé est conduit au clavier comme sous Linux ; les
# images vont dans docs/captures/windows/, sous les mêmes noms que leurs sœurs Linux.
#   captures_windows

# Le préfixe de wine des captures : à lui seul, dans $W, arrêté à la sortie.
preparer_wine() {
  export WINEPREFIX=$W/wine TMPDIR=$W/wine-tmp WINEDEBUG=-all
  # Ni Mono ni Gecko ; pas d'entrées de menu dans le bureau Linux.
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # Les boutons de la feuille et de l'installateur suivent la langue de wine.
  locale -a | grep -qix 'fr_FR.utf8' || localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
  export LC_ALL=fr_FR.UTF-8
  mkdir -p -m 700 "$TMPDIR"
  timeout 300 wineboot -i >/dev/null 2>&1 || true
  # Sans gestionnaire de fenêtres, wine dessine lui-même cadres et barres de titre ;
  # la case de fermeture a besoin de la police Marlett dans le préfixe.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d Y /f >/dev/null
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
}

# Ce que voit la personne : tout l'écran, rogné au rectangle des fenêtres (le fond de
# Xvfb est noir), après un temps pour que wine ait fini de peindre.
# Attend la fin d'un programme 20 s au plus, puis l'arrête : une touche perdue ne doit
# pas bloquer le jeu entier.
attendre_fin() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.2; done
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

capturer_ecran() {
  sleep 1.5
  import -window root -trim +repage "$sortie/$1.png"
  echo "   $1.png"
}

# Le fichier téléchargé, où que wine ait mis le bureau de l'utilisateur.
attendre_telechargement() {
  for _ in $(seq 300); do
    find "$HOME" "$WINEPREFIX/drive_c/users" -name MiseAJour62.exe -size +5M 2>/dev/null |
      grep -q . && return 0
    sleep 0.2
  done
}

installer_en_captures() {
  local installateur=$1
  echo "== Windows : installateur"
  wine "$installateur" & local pid=$!
  local id
  id=$(timeout 60 xdotool search --sync --name '^Installation de l' | head -n 1)
  xdotool windowfocus --sync "$id"
  sleep 1
  capturer_ecran windows/installation-1-bienvenue
  touche Return; sleep 1
  capturer_ecran windows/installation-2-composants
  touche Return; sleep 1
  capturer_ecran windows/installation-3-dossier
  touche Return
  for _ in $(seq 100); do
    [ -e "$WINEPREFIX/drive_c/Program Files/Mervane/Emporteur/desinstaller.exe" ] && break
    sleep 0.2
  done
  sleep 2
  capturer_ecran windows/installation-4-fin
  touche Return
  wait "$pid" 2>/dev/null || true
}

desinstaller_en_captures() {
  echo "== Windows : désinstallation"
  # Le désinstallateur se relance depuis le dossier temporaire : sa fenêtre se cherche.
  wine 'C:\Program Files\Mervane\Emporteur\desinstaller.exe'
  local id
  id=$(timeout 60 xdotool search --sync --name '^Désinstallation de l' | head -n 1)
  xdotool windowfocus --sync "$id"
  sleep 1
  capturer_ecran windows/installation-5-desinstallation
  touche Return
  for _ in $(seq 100); do
    [ -e "$WINEPREFIX/drive_c/Program Files/Mervane/Emporteur" ] || break
    sleep 0.2
  done
  sleep 2
  capturer_ecran windows/installation-6-desinstallation-fin
  touche Return
  timeout 60 wineserver -w || true
}

programme_en_captures() {
  local programme='C:\Program Files\Mervane\Emporteur\emporteur.exe' pid id
  # Orthalis « installé » dans le registre de wine, comme l'a fait le jeu Linux.
  wine reg add 'HKCU\Software\Mervane\Orthalis\6.0\Installation' /v DossierOrthalis \
    /t REG_SZ /d "$(winepath -w "$W/Orthalis")" /f >/dev/null

  # Le bureau de wine est celui de Linux : le dossier qu'y a laissé le jeu Linux ôterait
  # la question du dossier et la page du téléchargement.
  find "$HOME" "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -name 'Mervane_Téléchargement' \
    -exec rm -rf {} + 2>/dev/null || true

  echo "== Windows : assistant ordinaire"
  wine "$programme" & pid=$!
  id=$(timeout 60 xdotool search --sync --name '^Emporteur$' | head -n 1)
  xdotool windowfocus --sync "$id"
  capturer_ecran windows/01-accueil
  touche Tab space
  capturer_ecran windows/02-mandataire
  touche Escape
  xdotool windowfocus --sync "$id"
  touche Return
  capturer_ecran windows/03-liste-versions
  touche Return
  capturer_ecran windows/04-destination
  touche Tab space
  capturer_ecran windows/10-selecteur-dossier
  touche Escape
  xdotool windowfocus --sync "$id"
  touche shift+Tab Return
  capturer_ecran windows/05-question-dossier
  touche Return
  capturer_ecran windows/07-telechargement
  attendre_telechargement
  sleep 1
  capturer_ecran windows/08-fin
  kill $pid 2>/dev/null; attendre_fin $pid

  echo "== Windows : outil de calcul des CRC (/a)"
  wine "$programme" /a & pid=$!
  id=$(timeout 60 xdotool search --sync --name '^Generation des CRC$' | head -n 1)
  xdotool windowfocus --sync "$id"
  sleep 0.5
  xdotool type --delay 20 1000000
  touche Tab space
  sleep 1
  xdotool type --delay 10 "$(winepath -w "$W/grand.bin")"
  touche Return
  sleep 0.8
  xdotool windowfocus --sync "$id"
  touche Tab space
  sleep 1.5
  capturer_ecran windows/09-outil-crc
  touche Escape
  attendre_fin $pid

  echo "== Windows : vérification automatique avec invite (MajPlusMan)"
  wine "$programme" MajPlusMan & pid=$!
  timeout 60 xdotool search --sync --name '^Emporteur$' >/dev/null
  capturer_ecran windows/06-avis
  touche Escape
  attendre_fin $pid
}

# Le dialogue des identifiants, que le parcours au clavier ne rencontre pas : montré seul
# par l'aperçu des dialogues, quand il existe.
apercu_en_captures() {
  ninja -C build-win -t query apercu_dialogues_win32 >/dev/null 2>&1 || return 0
  construire cmake --build build-win --target apercu_dialogues_win32
  local exe pid
  exe=$(find build-win -name apercu_dialogues_win32.exe | head -n 1)
  echo "== Windows : identifiants (aperçu des dialogues)"
  wine "$exe" identifiants & pid=$!
  timeout 60 xdotool search --sync --name '^Emporteur$' >/dev/null
  capturer_ecran windows/11-identifiants
  touche Escape
  attendre_fin $pid
}

captures_windows() {
  construire cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo
  # La cible de l'installateur n'existe qu'avec emporteur.exe.
  if ! ninja -C build-win -t query installateur >/dev/null 2>&1; then
    echo "== Windows : emporteur.exe n'est pas encore construit pour Windows, jeu Windows inchangé."
    return 0
  fi
  construire cmake --build build-win --target installateur
  mkdir -p "$sortie/windows"
  preparer_wine
  installer_en_captures "$(ls build-win/Emporteur-*-installation.exe | head -n 1)"
  programme_en_captures
  apercu_en_captures
  desinstaller_en_captures
  wineserver -k 2>/dev/null || true
}
