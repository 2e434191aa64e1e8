#pragma once
// Réglages du mandataire : serveur vide = accès direct (réglages du système).
// Les identifiants ne vivent qu'en mémoire : rien ne les enregistre ni ne les affiche.

#include <cstdint>
#include <string>

namespace emporteur {

struct ParametresConnexion {
    std::string Serveur;
    std::int32_t Port = 80;
    // Identifiants du mandataire nommé ; vides : demandés au premier 407.
    std::string Utilisateur = {};
    std::string MotDePasse = {};
    // Fichier PEM des autorités de certification, vide : celles du système.
    std::string FichierAutorites = {};
};

} // namespace emporteur
