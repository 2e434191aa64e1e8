// ECDSA P-256 par libcrypto d'OpenSSL : les fonctions mêmes qu'emploie l'outil openssl.
#include "foundation/Signature.h"

#include <climits>
#include <cstring>
#include <memory>
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

namespace emporteur {

namespace {
struct LibererCle {
    void operator()(EVP_PKEY* c) const { EVP_PKEY_free(c); }
};
struct LibererBio {
    void operator()(BIO* b) const { BIO_free(b); }
};
struct LibererCtx {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
using Cle = std::unique_ptr<EVP_PKEY, LibererCle>;

// Jamais de question sur le terminal pour une clé chiffrée : elle est refusée.
int SansMotDePasse(char*, int, int, void*) {
    return -1;
}

Cle LireCle(std::string_view pem, bool privee) {
    if (pem.size() > INT_MAX) return nullptr;
    std::unique_ptr<BIO, LibererBio> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
    if (!bio) return nullptr;
    Cle cle(privee ? PEM_read_bio_PrivateKey(bio.get(), nullptr, SansMotDePasse, nullptr)
                   : PEM_read_bio_PUBKEY(bio.get(), nullptr, SansMotDePasse, nullptr));
    // Seule la courbe P-256 est admise : une autre clé, même valide, est refusée.
    char groupe[64] = {};
    size_t longueur = 0;
    if (!cle || EVP_PKEY_get_base_id(cle.get()) != EVP_PKEY_EC ||
        EVP_PKEY_get_group_name(cle.get(), groupe, sizeof groupe, &longueur) != 1 ||
        std::strcmp(groupe, "prime256v1") != 0)
        return nullptr;
    return cle;
}
} // namespace

bool ClePubliqueLisible(std::string_view clePem) {
    return LireCle(clePem, false) != nullptr;
}

bool SignatureValide(std::string_view clePem, std::string_view message,
                     std::string_view signatureDer) {
    const Cle cle = LireCle(clePem, false);
    std::unique_ptr<EVP_MD_CTX, LibererCtx> ctx(EVP_MD_CTX_new());
    if (!cle || !ctx || signatureDer.empty()) return false;
    if (EVP_DigestVerifyInit(ctx.get(), nullptr, EVP_sha256(), nullptr, cle.get()) != 1)
        return false;
    return EVP_DigestVerify(ctx.get(), reinterpret_cast<const unsigned char*>(signatureDer.data()),
                            signatureDer.size(),
                            reinterpret_cast<const unsigned char*>(message.data()),
                            message.size()) == 1;
}

bool Signer(std::string_view clePem, std::string_view message, std::string& signatureDer,
            std::string& erreur) {
    const Cle cle = LireCle(clePem, true);
    if (!cle) {
        erreur = "la clé privée n'est pas une clé ECDSA P-256 lisible (PEM non chiffré)";
        return false;
    }
    std::unique_ptr<EVP_MD_CTX, LibererCtx> ctx(EVP_MD_CTX_new());
    size_t longueur = 0;
    const auto* octets = reinterpret_cast<const unsigned char*>(message.data());
    if (!ctx || EVP_DigestSignInit(ctx.get(), nullptr, EVP_sha256(), nullptr, cle.get()) != 1 ||
        EVP_DigestSign(ctx.get(), nullptr, &longueur, octets, message.size()) != 1) {
        erreur = "la signature n'a pas pu être calculée";
        return false;
    }
    signatureDer.assign(longueur, '\0');
    if (EVP_DigestSign(ctx.get(), reinterpret_cast<unsigned char*>(signatureDer.data()), &longueur,
                       octets, message.size()) != 1) {
        erreur = "la signature n'a pas pu être calculée";
        return false;
    }
    signatureDer.resize(longueur);
    return true;
}

} // namespace emporteur
