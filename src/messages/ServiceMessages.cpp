#include "messages/ServiceMessages.h"

#include "foundation/InfoVersion.h"
#include "messages/Journal.h"

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
    int defaut; // code de réponse
};

JeuBoutons Jeu(int jeu) {
    switch (jeu) {
    case 0:
        return {style::MB_ABORTRETRYIGNORE, 3};
    case 1:
        return {style::MB_ABORTRETRYIGNORE, code::Reessayer};
    case 3:
        return {style::MB_OKCANCEL, code::Ok};
    case 4:
        return {style::MB_YESNO, code::Oui};
    case 5:
        return {style::MB_YESNOCANCEL, code::Oui};
    case 6:
        return {style::MB_RETRYCANCEL, code::Reessayer};
    case 7:
        return {style::MB_OK, code::Continuer};
    default:
        return {style::MB_OK, code::Ok}; // 2, et 9 ou plus
    }
}

constexpr unsigned kStyleCommun = style::MB_TASKMODAL | style::MB_SETFOREGROUND | style::MB_TOPMOST;
constexpr int kJeuSansBoite = 8;
} // namespace

int IdentifiantDeCode(int c) {
    switch (c) {
    case code::Abandonner:
        return reponse::IDABORT;
    case code::Annuler:
        return reponse::IDCANCEL;
    case code::Continuer:
        return reponse::IDCONTINUE;
    case code::Ignorer:
        return reponse::IDIGNORE;
    case code::Non:
        return reponse::IDNO;
    case code::Ok:
        return reponse::IDOK;
    case code::Oui:
        return reponse::IDYES;
    case code::Fermer:
        return reponse::IDCLOSE;
    case code::Reessayer:
        return reponse::IDRETRY;
    default:
        return 0;
    }
}

int CodeDIdentifiant(int identifiant) {
    switch (identifiant) {
    case reponse::IDABORT:
        return code::Abandonner;
    case reponse::IDCANCEL:
        return code::Annuler;
    case reponse::IDCONTINUE:
        return code::Continuer;
    case reponse::IDIGNORE:
        return code::Ignorer;
    case reponse::IDNO:
        return code::Non;
    case reponse::IDOK:
        return code::Ok;
    case reponse::IDCLOSE:
        return code::Fermer;
    case reponse::IDRETRY:
        return code::Reessayer;
    default:
        return code::Oui; // IDYES et tout le reste
    }
}

int AfficherMessage(InterfaceUtilisateur& interface, int genre, const Texte& texte,
                    const Texte& detail, int jeu) {
    if (jeu == kJeuSansBoite) return code::Oui;
    const JeuBoutons boutons = Jeu(jeu);
    Texte compose = texte;
    if (!detail.vide()) {
        compose += Texte("\r\r");
        compose += detail;
    }
    const unsigned styleBoite = boutons.boutons | StyleIcone(genre) | kStyleCommun;
    int identifiant;
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
