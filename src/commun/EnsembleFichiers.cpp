#include "commun/EnsembleFichiers.h"

namespace emporteur {

EnsembleFichiers::EnsembleFichiers(const EnsembleFichiers& autre)
    : Connexion(autre.Connexion), TailleTotale(autre.TailleTotale), TailleFaite(autre.TailleFaite),
      Dossier(autre.Dossier) {
    AjouterFichiersDe(autre);
}

EnsembleFichiers& EnsembleFichiers::operator=(const EnsembleFichiers& autre) {
    if (this != &autre) {
        EnsembleFichiers copie(autre);
        *this = std::move(copie);
    }
    return *this;
}

void EnsembleFichiers::AjouterFichiersDe(const EnsembleFichiers& autre) {
    if (&autre == this) {
        const std::size_t n = Fichiers.size();
        for (std::size_t i = 0; i < n; ++i)
            Fichiers.push_back(std::make_unique<Ingredient>(*Fichiers[i]));
        return;
    }
    for (const auto& f : autre.Fichiers)
        Fichiers.push_back(std::make_unique<Ingredient>(*f));
}

} // namespace emporteur
