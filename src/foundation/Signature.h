#pragma once
// Signatures ECDSA P-256 sur SHA-256, au format qu'écrit et lit l'outil openssl
// (`openssl dgst -sha256 -sign` / `-verify`) : clés en PEM, signature en DER.
// Seule couture avec la bibliothèque cryptographique de la plateforme :
// posix/SignatureOpenssl.cpp ici, une implémentation win32/ ailleurs.

#include <string>
#include <string_view>

namespace emporteur {

// Vrai seulement si `signatureDer` est une signature valide de `message` par la
// clé publique `clePem` (« BEGIN PUBLIC KEY », courbe P-256). Une clé illisible ou
// d'un autre type, une signature mal formée : faux, jamais d'exception.
bool SignatureValide(std::string_view clePem, std::string_view message,
                     std::string_view signatureDer);

// Signe `message` avec la clé privée `clePem` (P-256, PEM non chiffré) ; faux et une
// raison en français dans `erreur` si la clé ne convient pas.
bool Signer(std::string_view clePem, std::string_view message, std::string& signatureDer,
            std::string& erreur);

// Vrai si `clePem` est une clé publique P-256 lisible.
bool ClePubliqueLisible(std::string_view clePem);

} // namespace emporteur
