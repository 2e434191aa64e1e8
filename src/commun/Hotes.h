#pragma once
// Hôtes du serveur de téléchargement et du site Web de Mervane : valeurs de
// construction, surchargées par EMPORTEUR_SERVEUR et EMPORTEUR_SITE
// ("hote[:port]" ou une base complète http:// ou https://).

#include <string>

namespace emporteur {

std::string HoteServeur();
std::string HoteSite();

// Adresse complète d'une page du site Web (http:// sans TLS par défaut).
std::string AdresseSite(const std::string& chemin);

// Adresse complète d'un objet sur un hôte ; `hote` peut déjà porter un schéma.
std::string AdresseObjet(const std::string& hote, const std::string& chemin);

} // namespace emporteur
