#include "messages/ServiceMessages.h"

#include "foundation/InfoVersion.h"
#include "messages/Journal.h"

#include <utility>

namespace emporteur {

namespace {
unsigned StyleIcone(int genre) {
    switch (genre) {
    case 1:
        return style::MB_ICONQUESTION;
    case 2:
        return style::MB_ICONHAND;
    case 3:
        return style::MB_ICONEXCLAMATION;
    case 4:
        return style::MB_ICONASTERISK;
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
        return {style::MB_ABORTRETRYIGNORE, CodeReponse::SansIdentifiant};
    case 1:
        return {style::MB_ABORTRETRYIGNORE, CodeReponse::Reessayer};
    case 3:
        return {style::MB_OKCANCEL, CodeReponse::Ok};
    case 4:
        return {style::MB_YESNO, CodeReponse::Oui};
    case 5:
        return {style::MB_YESNOCANCEL, CodeReponse::Oui};
    case 6:
        return {style::MB_RETRYCANCEL, CodeReponse::Reessayer};
    case 7:
        return {style::MB_OK, CodeReponse::Continuer};
    default:
        return {style::MB_OK, CodeReponse::Ok}; // 2, et 9 ou plus
    }
}

constexpr unsigned kStyleCommun = style::MB_TASKMODAL | style::MB_SETFOREGROUND | style::MB_TOPMOST;
constexpr int kJeuSansBoite = 8;

// Codes de réponse et identifiants Windows, lus dans les deux sens.
constexpr std::pair<CodeReponse, Reponse> kCorrespondances[] = {
    {CodeReponse::Abandonner, Reponse::IDABORT},
    {CodeReponse::Annuler, Reponse::IDCANCEL},
    {CodeReponse::Continuer, Reponse::IDCONTINUE},
    {CodeReponse::Ignorer, Reponse::IDIGNORE},
    {CodeReponse::Non, Reponse::IDNO},
    {CodeReponse::Ok, Reponse::IDOK},
    {CodeReponse::Oui, Reponse::IDYES},
    {CodeReponse::Fermer, Reponse::IDCLOSE},
    {CodeReponse::Reessayer, Reponse::IDRETRY},
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

CodeReponse AfficherMessage(InterfaceUtilisateur& interface, int genre, const Texte& texte,
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
        identifiant = interface.BoiteMessage(compose.utf8(), titre, styleBoite);
    }
    return CodeDIdentifiant(identifiant);
}

} // namespace emporteur
