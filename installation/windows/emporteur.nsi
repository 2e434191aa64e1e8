; Installateur Windows de l'Emporteur (makensis, 64 bits, textes en français).
;
; Construit par la cible « installateur » de build-win, qui passe :
;   -DVERSION=a.b.c.d  -DEXE_EMPORTEUR=…  -DEXE_CLI=…  -DEXE_VERIFICATION=…  -DSORTIE=…
;   [-DICONE=….ico]
;
; Pose : les programmes sous Program Files\Mervane\Emporteur, un raccourci dans le
; menu Démarrer de tous les utilisateurs, la fiche de désinstallation et, si la case est
; laissée cochée, la valeur Run qui mène à « emporteur.exe MajDiscrete » à chaque
; ouverture de session. Rien d'autre : les clés d'Orthalis appartiennent à son propre
; installateur, et les valeurs de l'utilisateur (dernier avis, mandataire) sont créées
; par le programme lui-même, dans le profil de chacun.
; Ligne de commande : /S silencieux, /SANSVERIFICATION sans la valeur Run, /D=DOSSIER (en
; dernier, sans guillemets même avec des espaces) pour un autre dossier.

Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!include MUI2.nsh
!include FileFunc.nsh

!macro Exiger NOM
  !ifndef ${NOM}
    !error "${NOM} est à passer par -D${NOM}=…"
  !endif
!macroend
!insertmacro Exiger VERSION
!insertmacro Exiger EXE_EMPORTEUR
!insertmacro Exiger EXE_CLI
!insertmacro Exiger EXE_VERIFICATION
!insertmacro Exiger SORTIE

!define CLE_DESINSTALLATION "Software\Microsoft\Windows\CurrentVersion\Uninstall\Emporteur"
!define CLE_DEMARRAGE "Software\Microsoft\Windows\CurrentVersion\Run"
!define DOSSIER_DEFAUT "$PROGRAMFILES64\Mervane\Emporteur"
!define DESINSTALLATEUR "desinstaller.exe"

Name "l’Emporteur"
OutFile "${SORTIE}"
; Dossier voisin de Program Files\Mervane\Orthalis : c'est le second endroit où le
; programme cherche Orthal32.exe.
InstallDir "${DOSSIER_DEFAUT}"
InstallDirRegKey HKLM "${CLE_DESINSTALLATION}" "InstallLocation"
BrandingText "Mervane — Emporteur ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1036 "ProductName" "Emporteur"
VIAddVersionKey /LANG=1036 "CompanyName" "Mervane"
VIAddVersionKey /LANG=1036 "FileDescription" "Installation de l'Emporteur"
VIAddVersionKey /LANG=1036 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1036 "LegalCopyright" "Mervane"

!ifdef ICONE
  !define MUI_ICON "${ICONE}"
  !define MUI_UNICON "${ICONE}"
!endif
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TITLE "Installation de l'Emporteur ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "L'Emporteur télécharge les mises à jour et les mises à niveau d'Orthalis, par segments vérifiés, et reprend un téléchargement interrompu là où il s'est arrêté.$\r$\n$\r$\nIl s'installe pour tous les utilisateurs de cet ordinateur. À l'ouverture de session, il peut vérifier discrètement si une nouveauté est offerte : il ne se montre alors que dans ce cas.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "L'Emporteur est installé. Il se lance depuis le menu Démarrer.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "French"

Section "Emporteur (obligatoire)" SectionProgrammes
  SectionIn RO
  SetOutPath "$INSTDIR"
  ClearErrors
  File "/oname=emporteur.exe" "${EXE_EMPORTEUR}"
  File "/oname=emporteur-cli.exe" "${EXE_CLI}"
  File "/oname=emporteur-verification.exe" "${EXE_VERIFICATION}"
  ; Un programme ouvert (l'avis de l'ouverture de session) ne se remplace pas ; en
  ; silencieux, makensis l'ignore sans un mot et l'ancien resterait sous une installation
  ; dite réussie : échec, code 2. Avec l'interface, la personne a choisi « Ignorer ».
  IfErrors 0 fichiers_poses
  IfSilent 0 fichiers_poses
    SetErrorLevel 2
    Abort
  fichiers_poses:
  WriteUninstaller "$INSTDIR\${DESINSTALLATEUR}"
  CreateShortCut "$SMPROGRAMS\Emporteur.lnk" "$INSTDIR\emporteur.exe" "" \
    "$INSTDIR\emporteur.exe" 0 SW_SHOWNORMAL "" "Télécharger les mises à jour d'Orthalis"
  Call FicheDesinstallation
  ; Une réinstallation sans la case la retire ; la section suivante la repose si cochée.
  DeleteRegValue HKLM "${CLE_DEMARRAGE}" "Emporteur"
SectionEnd

; La vérification programmée : la valeur Run de la machine, lue par l'Explorateur à chaque
; ouverture de session de chaque utilisateur. emporteur-verification.exe passe, sans
; console, à « emporteur-cli.exe verification-programmee », qui ne lance
; « emporteur.exe MajDiscrete » que pour une nouveauté que l'utilisateur n'a pas écartée.
Section "Vérifier les nouveautés à l'ouverture de session" SectionVerification
  WriteRegStr HKLM "${CLE_DEMARRAGE}" "Emporteur" '"$INSTDIR\emporteur-verification.exe"'
SectionEnd

; « Ajout/Suppression de programmes ».
Function FicheDesinstallation
  WriteRegStr HKLM "${CLE_DESINSTALLATION}" "DisplayName" "Emporteur"
  WriteRegStr HKLM "${CLE_DESINSTALLATION}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${CLE_DESINSTALLATION}" "Publisher" "Mervane"
  WriteRegStr HKLM "${CLE_DESINSTALLATION}" "DisplayIcon" "$INSTDIR\emporteur.exe,0"
  WriteRegStr HKLM "${CLE_DESINSTALLATION}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${CLE_DESINSTALLATION}" "UninstallString" '"$INSTDIR\${DESINSTALLATEUR}"'
  WriteRegStr HKLM "${CLE_DESINSTALLATION}" "QuietUninstallString" '"$INSTDIR\${DESINSTALLATEUR}" /S'
  WriteRegDWORD HKLM "${CLE_DESINSTALLATION}" "NoModify" 1
  WriteRegDWORD HKLM "${CLE_DESINSTALLATION}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${CLE_DESINSTALLATION}" "EstimatedSize" $0
FunctionEnd

; Seulement ce que l'installation a posé, fichier par fichier : jamais de suppression
; récursive du dossier, qui emporterait tout un dossier choisi par erreur (Program Files
; lui-même). Un programme encore ouvert est effacé au redémarrage.
Section "Uninstall"
  DeleteRegValue HKLM "${CLE_DEMARRAGE}" "Emporteur"
  DeleteRegKey HKLM "${CLE_DESINSTALLATION}"
  Delete "$SMPROGRAMS\Emporteur.lnk"
  Delete /REBOOTOK "$INSTDIR\emporteur.exe"
  Delete /REBOOTOK "$INSTDIR\emporteur-cli.exe"
  Delete /REBOOTOK "$INSTDIR\emporteur-verification.exe"
  Delete /REBOOTOK "$INSTDIR\${DESINSTALLATEUR}"
  RMDir "$INSTDIR"
  ; Un fichier encore ouvert ne part qu'au redémarrage : le dossier alors après lui. Un
  ; fichier de l'utilisateur laissé dans le dossier le garde, sans redémarrage demandé.
  IfRebootFlag 0 +2
    RMDir /REBOOTOK "$INSTDIR"
  ; Le dossier Mervane, seulement s'il est celui du dossier proposé et vide.
  StrCmp "$INSTDIR" "${DOSSIER_DEFAUT}" 0 +2
    RMDir "$PROGRAMFILES64\Mervane"
SectionEnd

; Après les sections : .onInit en nomme une.
Function .onInit
  SetRegView 64
  SetShellVarContext all
  ; Pour un déploiement silencieux qui ne veut pas de la vérification : la case de la page
  ; des composants, décochée d'avance.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/SANSVERIFICATION" $1
  IfErrors +2
    SectionSetFlags ${SectionVerification} 0
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd
