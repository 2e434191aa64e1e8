#include "messages/ServiceMessages.h"

#include "foundation/InfoVersion.h"
#include "messages/Journal.h"

#include <utility>

namespace emporteur {

namespace {
unsigned StyleIcone(int genre) {
    switch (genre) {
    case 1:
        return MB_ICONQUESTION;
    case 2:
        return MB_ICONHAND;
    case 3:
        return MB_ICONEXCLAMATION;
    case 4:
        return MB_ICONASTERISK;
    default:
        return 0;
    }
}

struct JeuBoutons {
    unsigned boutons;
    CodeReponse defaut;
};

JeuBoutons Jeu(int jeu) {
    switch (jeu) {
    case 0:
        return {MB_ABORTRETRYIGNORE, CodeReponse::SansIdentifiant};
    case 1:
        return {MB_ABORTRETRYIGNORE, CodeReponse::Reessayer};
    case 3:
        return {MB_OKCANCEL, CodeReponse::Ok};
    case 4:
        return {MB_YESNO, CodeReponse::Oui};
    case 5:
        return {MB_YESNOCANCEL, CodeReponse::Oui};
    case 6:
        return {MB_RETRYCANCEL, CodeReponse::Reessayer};
    case 7:
        return {MB_OK, CodeReponse::Continuer};
    default:
        return {MB_OK, CodeReponse::Ok}; // 2, et 9 ou plus
    }
}

constexpr unsigned kStyleCommun = MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST;
constexpr int kJeuSansBoite = 8;

// Codes de réponse et identifiants Windows, lus dans les deux sens.
constexpr std::pair<CodeReponse, Reponse> kCorrespondances[] = {
    {CodeReponse::Abandonner, Reponse::Abandonner},
    {CodeReponse::Annuler, Reponse::Annuler},
    {CodeReponse::Continuer, Reponse::Continuer},
    {CodeReponse::Ignorer, Reponse::Ignorer},
    {CodeReponse::Non, Reponse::Non},
    {CodeReponse::Ok, Reponse::Ok},
    {CodeReponse::Oui, Reponse::Oui},
    {CodeReponse::Fermer, Reponse::Fermer},
    {CodeReponse::Reessayer, Reponse::Reessayer},
};
} // namespace

Reponse IdentifiantDeCode(CodeReponse code) {
    for (const auto& [c, identifiant] : kCorrespondances)
        if (c == code) return identifiant;
    return Reponse{};
}

CodeReponse CodeDIdentifiant(Reponse identifiant) {
    for (const auto& [code, i] : kCorrespondances)
        if (i == identifiant) return code;
    return CodeReponse::Oui;
}

CodeReponse AfficherMessage(InterfaceUtilisateur& ui, int genre, const Texte& texte,
                            const Texte& detail, int jeu) {
    if (jeu == kJeuSansBoite) return CodeReponse::Oui;
    const JeuBoutons boutons = Jeu(jeu);
    Texte compose = texte;
    if (!detail.vide()) {
        compose += Texte("\r\r");
        compose += detail;
    }
    const unsigned styleBoite = boutons.boutons | StyleIcone(genre) | kStyleCommun;
    Reponse identifiant;
    if (InstallationSilencieuseActive()) {
        identifiant = IdentifiantDeCode(boutons.defaut);
        Journal::DuProcessus().EcrireLigne(styleBoite, compose.utf8(), identifiant);
    } else {
        std::string titre;
        NomProduitProgramme(titre, 1024);
        identifiant = ui.BoiteMessage(compose.utf8(), titre, styleBoite);
    }
    return CodeDIdentifiant(identifiant);
}

} // namespace emporteur
