// SHA-256 par libcrypto d'OpenSSL.
#include "foundation/Empreinte.h"

#include <new>
#include <openssl/evp.h>

namespace emporteur {

struct Empreinte::Etat {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
    ~Etat() { EVP_MD_CTX_free(ctx); }
    void Recommencer() {
        if (!ctx || EVP_DigestInit_ex(ctx, EVP_sha256(), nullptr) != 1) throw std::bad_alloc();
    }
};

Empreinte::Empreinte() : etat_(std::make_unique<Etat>()) {
    etat_->Recommencer();
}

Empreinte::~Empreinte() = default;

void Empreinte::Ajouter(const void* octets, std::size_t n) {
    if (n) EVP_DigestUpdate(etat_->ctx, octets, n);
}

Sha256 Empreinte::Finir() {
    Sha256 resultat{};
    unsigned int longueur = 0;
    EVP_DigestFinal_ex(etat_->ctx, resultat.data(), &longueur);
    etat_->Recommencer();
    return resultat;
}

} // namespace emporteur
