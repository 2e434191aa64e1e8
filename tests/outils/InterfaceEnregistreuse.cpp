#include "outils/InterfaceEnregistreuse.h"

namespace emporteur::test {

void InterfaceEnregistreuse::Noter(AppelInterface appel) {
    std::lock_guard verrou(verrou_);
    appels_.push_back(std::move(appel));
}

Reponse InterfaceEnregistreuse::BoiteMessage(const std::string& texte, const std::string& titre,
                                             unsigned style) {
    Noter({"BoiteMessage", texte, titre, style});
    std::lock_guard verrou(verrou_);
    if (reponses.empty()) return ReponseParDefaut(style);
    const Reponse r = reponses.front();
    reponses.pop_front();
    return r;
}

bool InterfaceEnregistreuse::DemanderIdentifiants(const std::string& adresse, bool mandataire,
                                                  std::string& utilisateur,
                                                  std::string& motDePasse) {
    Noter({"Identifiants", adresse, mandataire ? "mandataire" : "serveur", 0});
    std::lock_guard verrou(verrou_);
    if (identifiants.empty()) return false;
    utilisateur = identifiants.front().utilisateur;
    motDePasse = identifiants.front().motDePasse;
    identifiants.pop_front();
    return true;
}

bool InterfaceEnregistreuse::SaitOuvrir(const std::string& chemin) {
    Noter({"SaitOuvrir", chemin, {}, 0});
    return ouvertureReussie;
}

bool InterfaceEnregistreuse::Ouvrir(const std::string& cible) {
    Noter({"Ouvrir", cible, {}, 0});
    return ouvertureReussie;
}

bool InterfaceEnregistreuse::Explorer(const std::string& dossier) {
    Noter({"Explorer", dossier, {}, 0});
    return ouvertureReussie;
}

bool InterfaceEnregistreuse::ChoisirDossier(const std::string& titre, std::string& chemin) {
    Noter({"ChoisirDossier", titre, chemin, 0}); // `titre` de l'appel : le dossier de départ
    std::lock_guard verrou(verrou_);
    if (dossiersChoisis.empty()) return false;
    chemin = dossiersChoisis.front();
    dossiersChoisis.pop_front();
    return true;
}

bool InterfaceEnregistreuse::MettreAuPremierPlan(const std::string& titre) {
    Noter({"PremierPlan", titre, {}, 0});
    return false;
}

void InterfaceEnregistreuse::TerminerProcessus(int code) {
    Noter({"TerminerProcessus", std::to_string(code), {}, 0});
    if (!terminerRevient) throw FinProcessus{code};
}

std::vector<AppelInterface> InterfaceEnregistreuse::Appels() const {
    std::lock_guard verrou(verrou_);
    return appels_;
}

std::vector<AppelInterface> InterfaceEnregistreuse::Appels(const std::string& operation) const {
    std::vector<AppelInterface> choisis;
    for (auto& a : Appels())
        if (a.operation == operation) choisis.push_back(a);
    return choisis;
}

} // namespace emporteur::test
