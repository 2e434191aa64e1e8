// ECDSA P-256 par CNG : clé publique PEM et signature DER décodées par crypt32, calcul
// par bcrypt ; la clé privée et l'écriture DER passent par win32/Der (wine n'a pas ces
// décodeurs). Même rigueur qu'à côté : courbe P-256 seule, DER canonique seul.
#include "foundation/ConstantesWin32.h"
#include "foundation/Empreinte.h"
#include "foundation/Signature.h"
#include "foundation/win32/Der.h"

#include <bcrypt.h>
#include <wincrypt.h>
#include <array>
#include <cstring>
#include <memory>

namespace emporteur {

namespace {
constexpr DWORD kCodage = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
constexpr std::size_t kTaillePem = 64 * 1024; // une clé tient en quelques centaines d'octets
// Paramètres d'algorithme d'une clé P-256 : l'OID de la courbe, encodé en DER.
constexpr BYTE kParametresP256[] = {0x06, 0x08, 0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};
constexpr DWORD kOctets = 32; // taille d'une coordonnée, de r et de s
using Brut = std::array<BYTE, 2 * kOctets>; // r‖s, gros-boutistes

struct LibererLocal {
    void operator()(void* p) const { LocalFree(p); }
};
template <class T> using Decode = std::unique_ptr<T, LibererLocal>;

struct Cle {
    BCRYPT_ALG_HANDLE algorithme = nullptr;
    BCRYPT_KEY_HANDLE cle = nullptr;
    Cle() = default;
    Cle(const Cle&) = delete;
    Cle& operator=(const Cle&) = delete;
    ~Cle() {
        if (cle) BCryptDestroyKey(cle);
        if (algorithme) BCryptCloseAlgorithmProvider(algorithme, 0);
    }
};

// Le premier bloc PEM d'étiquette `etiquette`, en DER ; vide s'il manque ou est illisible.
std::string BlocPem(std::string_view pem, const std::string& etiquette) {
    const std::string debut = "-----BEGIN " + etiquette + "-----";
    const std::string fin = "-----END " + etiquette + "-----";
    const auto d = pem.find(debut);
    if (pem.size() > kTaillePem || d == std::string_view::npos) return {};
    const auto f = pem.find(fin, d + debut.size());
    if (f == std::string_view::npos) return {};
    const std::string_view base64 = pem.substr(d + debut.size(), f - d - debut.size());
    DWORD n = 0;
    const auto l = static_cast<DWORD>(base64.size());
    if (!CryptStringToBinaryA(base64.data(), l, CRYPT_STRING_BASE64, nullptr, &n, nullptr,
                              nullptr))
        return {};
    std::string der(n, '\0');
    if (!CryptStringToBinaryA(base64.data(), l, CRYPT_STRING_BASE64,
                              reinterpret_cast<BYTE*>(der.data()), &n, nullptr, nullptr))
        return {};
    der.resize(n);
    return der;
}

template <class T> Decode<T> Decoder(LPCSTR type, std::string_view der) {
    void* p = nullptr;
    DWORD n = 0;
    if (der.empty() || der.size() > kTaillePem ||
        !CryptDecodeObjectEx(kCodage, type, reinterpret_cast<const BYTE*>(der.data()),
                             static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr,
                             &p, &n))
        return nullptr;
    return Decode<T>(static_cast<T*>(p));
}

bool EstP256(const CRYPT_ALGORITHM_IDENTIFIER& a) {
    return a.pszObjId && std::strcmp(a.pszObjId, szOID_ECC_PUBLIC_KEY) == 0 &&
           a.Parameters.cbData == sizeof kParametresP256 &&
           std::memcmp(a.Parameters.pbData, kParametresP256, sizeof kParametresP256) == 0;
}

std::unique_ptr<Cle> LirePublique(std::string_view pem) {
    const auto info = Decoder<CERT_PUBLIC_KEY_INFO>(X509_PUBLIC_KEY_INFO, BlocPem(pem, "PUBLIC KEY"));
    if (!info || !EstP256(info->Algorithm)) return nullptr;
    auto cle = std::make_unique<Cle>();
    if (!CryptImportPublicKeyInfoEx2(X509_ASN_ENCODING, info.get(), 0, nullptr, &cle->cle))
        return nullptr;
    return cle;
}

// Entier non signé petit-boutiste de crypt32 → 32 octets gros-boutistes ; faux s'il déborde.
bool VersGrosBoutiste(const CRYPT_UINT_BLOB& petit, BYTE* sortie) {
    DWORD n = petit.cbData;
    while (n > 0 && petit.pbData[n - 1] == 0) --n;
    if (n > kOctets) return false;
    std::memset(sortie, 0, kOctets);
    for (DWORD i = 0; i < n; ++i)
        sortie[kOctets - 1 - i] = petit.pbData[i];
    return true;
}

// Seule l'écriture canonique est admise, comme le fait openssl : la signature relue
// puis récrite doit redonner les mêmes octets (ni octet en trop, ni zéro superflu).
bool LireSignatureDer(std::string_view signature, Brut& rs) {
    const auto sig = Decoder<CERT_ECC_SIGNATURE>(X509_ECC_SIGNATURE, signature);
    return sig && VersGrosBoutiste(sig->r, rs.data()) &&
           VersGrosBoutiste(sig->s, rs.data() + kOctets) && der::SignatureEcdsa(rs) == signature;
}

// La clé privée P-256 d'un PEM PKCS#8 (« PRIVATE KEY ») ou SEC1 (« EC PRIVATE KEY »,
// celui de « openssl ecparam -genkey »), importée dans CNG : X, Y puis d.
std::unique_ptr<Cle> LirePrivee(std::string_view pem) {
    std::string octets = BlocPem(pem, "PRIVATE KEY");
    der::ClePriveeEc ec;
    const bool lue = octets.empty() ? der::LireSec1(octets = BlocPem(pem, "EC PRIVATE KEY"), ec)
                                    : der::LirePkcs8(octets, ec);
    const std::string_view p256(reinterpret_cast<const char*>(kParametresP256) + 2,
                                sizeof kParametresP256 - 2);
    std::array<BYTE, sizeof(BCRYPT_ECCKEY_BLOB) + 3 * kOctets> blob{};
    const bool complete = lue && ec.courbe == p256 && !ec.prive.empty() &&
                          ec.prive.size() <= kOctets && ec.point.size() == 1 + 2 * kOctets &&
                          ec.point[0] == 0x04;
    if (complete) {
        const BCRYPT_ECCKEY_BLOB entete{BCRYPT_ECDSA_PRIVATE_P256_MAGIC, kOctets};
        std::memcpy(blob.data(), &entete, sizeof entete);
        BYTE* p = blob.data() + sizeof entete;
        std::memcpy(p, ec.point.data() + 1, 2 * kOctets);
        std::memcpy(p + 3 * kOctets - ec.prive.size(), ec.prive.data(), ec.prive.size());
    }
    SecureZeroMemory(octets.data(), octets.size());
    auto cle = std::make_unique<Cle>();
    const bool importee =
        complete &&
        BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&cle->algorithme, BCRYPT_ECDSA_P256_ALGORITHM,
                                                   nullptr, 0)) &&
        BCRYPT_SUCCESS(BCryptImportKeyPair(cle->algorithme, nullptr, BCRYPT_ECCPRIVATE_BLOB,
                                           &cle->cle, blob.data(),
                                           static_cast<ULONG>(blob.size()), 0));
    SecureZeroMemory(blob.data(), blob.size());
    return importee ? std::move(cle) : nullptr;
}
} // namespace

bool ClePubliqueLisible(std::string_view clePem) {
    return LirePublique(clePem) != nullptr;
}

bool SignatureValide(std::string_view clePem, std::string_view message,
                     std::string_view signatureDer) {
    Brut rs{};
    const auto cle = LirePublique(clePem);
    if (!cle || !LireSignatureDer(signatureDer, rs)) return false;
    Sha256 condense = EmpreinteDe(message);
    return BCRYPT_SUCCESS(BCryptVerifySignature(cle->cle, nullptr, condense.data(),
                                                static_cast<ULONG>(condense.size()), rs.data(),
                                                static_cast<ULONG>(rs.size()), 0));
}

bool Signer(std::string_view clePem, std::string_view message, std::string& signatureDer,
            std::string& erreur) {
    const auto cle = LirePrivee(clePem);
    if (!cle) {
        erreur = "la clé privée n'est pas une clé ECDSA P-256 lisible (PEM non chiffré)";
        return false;
    }
    Sha256 condense = EmpreinteDe(message);
    Brut rs{};
    ULONG n = 0;
    if (!BCRYPT_SUCCESS(BCryptSignHash(cle->cle, nullptr, condense.data(),
                                       static_cast<ULONG>(condense.size()), rs.data(),
                                       static_cast<ULONG>(rs.size()), &n, 0)) ||
        n != rs.size()) {
        erreur = "la signature n'a pas pu être calculée";
        return false;
    }
    signatureDer = der::SignatureEcdsa(rs);
    return true;
}

} // namespace emporteur
