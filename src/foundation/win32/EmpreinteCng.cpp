// SHA-256 par CNG (bcrypt) : l'algorithme du système, jamais écrit à la main.
#include "foundation/ConstantesWin32.h"
#include "foundation/Empreinte.h"

#include <bcrypt.h>
#include <algorithm>
#include <new>

namespace emporteur {

struct Empreinte::Etat {
    BCRYPT_ALG_HANDLE algorithme = nullptr;
    BCRYPT_HASH_HANDLE calcul = nullptr;

    Etat() {
        if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithme, BCRYPT_SHA256_ALGORITHM,
                                                        nullptr, 0)))
            throw std::bad_alloc();
        Recommencer();
    }
    ~Etat() {
        if (calcul) BCryptDestroyHash(calcul);
        BCryptCloseAlgorithmProvider(algorithme, 0);
    }
    // Un calcul neuf : celui d'avant (fini ou non) est détruit.
    void Recommencer() {
        if (calcul) BCryptDestroyHash(calcul);
        calcul = nullptr;
        if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithme, &calcul, nullptr, 0, nullptr, 0, 0)))
            throw std::bad_alloc();
    }
};

Empreinte::Empreinte() : etat_(std::make_unique<Etat>()) {}

Empreinte::~Empreinte() = default;

void Empreinte::Ajouter(const void* octets, std::size_t n) {
    // BCryptHashData prend une longueur de 32 bits : un bloc plus grand passe en morceaux.
    auto* p = static_cast<PUCHAR>(const_cast<void*>(octets));
    while (n > 0) {
        const ULONG morceau = static_cast<ULONG>(std::min<std::size_t>(n, 1u << 30));
        BCryptHashData(etat_->calcul, p, morceau, 0);
        p += morceau;
        n -= morceau;
    }
}

Sha256 Empreinte::Finir() {
    Sha256 resultat{};
    BCryptFinishHash(etat_->calcul, resultat.data(), static_cast<ULONG>(resultat.size()), 0);
    etat_->Recommencer();
    return resultat;
}

} // namespace emporteur
