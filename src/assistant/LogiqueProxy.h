#pragma once
// Logique du dialogue des réglages du mandataire et mémorisation du mandataire dans
// le registre de l'utilisateur. La fenêtre ne fait qu'appeler ces fonctions.

#include "commun/Mandataire.h"
#include "commun/ParametresConnexion.h"
#include "foundation/ConstantesWin32.h"

#include <cstdint>
#include <string>

namespace emporteur {

// Textes des deux zones d'édition du dialogue.
struct TextesProxy {
    std::string Serveur;
    std::string Port;
};

// Ouverture du dialogue : les textes tirés du réglage du système (jamais de
// l'enregistrement en cours). Sans réglage : serveur vide et port "80".
TextesProxy TextesInitiauxProxy();

// Bouton Confirmer : serveur tel que saisi, port lu en décimal (0 devient 80).
void ConfirmerProxy(ParametresConnexion& parametres, const TextesProxy& textes);
// Bouton Annuler : l'enregistrement revient à « sans mandataire ».
void AnnulerProxy(ParametresConnexion& parametres);

// Le port saisi : LireDecimal, borné aux limites d'un entier 32 bits.
std::int32_t LireEntierDecimal(const std::string& texte);

// Écrit "Serveur" (REG_SZ) et "Port" (REG_DWORD) sous
// HKEY_CURRENT_USER\Software\Mervane\Orthalis\Emporteur, créée au besoin. Rend le code de
// la création de la clé ; les échecs d'écriture des valeurs sont ignorés.
CodeWin32 EnregistrerProxy(const std::string& serveur, std::int32_t port);

} // namespace emporteur
