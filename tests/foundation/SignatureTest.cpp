// Empreintes et signatures contre le vrai outil openssl, dans les deux sens.
#include "foundation/Signature.h"
#include "foundation/Empreinte.h"
#include "outils/ClesOpenssl.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

TEST(Empreinte, IdentiqueAOpensslEtLisibleEnHexadecimal) {
    test::DossierTemporaire d;
    const std::string contenu = test::OctetsReproductibles(3'000'000, 7);
    test::EcrireFichier(d / "f", contenu);
    // Par morceaux inégaux, comme la lecture d'un fichier par blocs.
    Empreinte e;
    e.Ajouter(contenu.data(), 1);
    e.Ajouter(contenu.data() + 1, contenu.size() - 1);
    const Sha256 calculee = e.Finir();
    EXPECT_EQ(EnHexadecimal(calculee), test::Sha256Openssl(d / "f"));
    EXPECT_EQ(EnHexadecimal(EmpreinteDe("")),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    Sha256 relue{};
    const std::string majuscules =
        "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855";
    ASSERT_TRUE(LireHexadecimal(majuscules, relue));
    EXPECT_EQ(relue, EmpreinteDe(""));
    for (const std::string& mauvais :
         {std::string(63, 'a'), std::string(65, 'a'), std::string(63, 'a') + "g", std::string()})
        EXPECT_FALSE(LireHexadecimal(mauvais, relue)) << mauvais;
}

TEST(Signature, InteroperableAvecOpensslDansLesDeuxSens) {
    const test::CleOpenssl cle, autre;
    const std::string message = "2.1.0.0\n# emporteur serie=3 expire=2099-12-31\ncle=\"x\"\n";
    // openssl signe, le programme vérifie.
    const std::string parOpenssl = cle.Signer(message);
    EXPECT_TRUE(SignatureValide(cle.PubliquePem(), message, parOpenssl));
    // Le programme signe, openssl vérifie.
    std::string parNous, erreur;
    ASSERT_TRUE(Signer(test::LireFichier(cle.CheminPrive()), message, parNous, erreur)) << erreur;
    EXPECT_TRUE(cle.Verifie(message, parNous));
    EXPECT_TRUE(SignatureValide(cle.PubliquePem(), message, parNous));
    EXPECT_FALSE(autre.Verifie(message, parNous));
}

TEST(Signature, RefusParCas) {
    const test::CleOpenssl cle, autre, p384("secp384r1");
    const std::string message = "texte signé";
    const std::string sig = cle.Signer(message);
    std::string octetChange = message;
    octetChange[3] ^= 1;
    std::string sigAbimee = sig;
    sigAbimee[sigAbimee.size() / 2] ^= 1;
    const struct {
        const char* cas;
        std::string cle, message, signature;
    } cas[] = {
        {"un octet du texte changé", cle.PubliquePem(), octetChange, sig},
        {"texte tronqué", cle.PubliquePem(), message.substr(1), sig},
        {"signature abîmée", cle.PubliquePem(), message, sigAbimee},
        {"signature vide", cle.PubliquePem(), message, ""},
        {"signature d'une autre clé", autre.PubliquePem(), message, sig},
        {"clé d'une autre courbe", p384.PubliquePem(), message, p384.Signer(message)},
        {"clé illisible", "-----BEGIN PUBLIC KEY-----\nxx\n-----END PUBLIC KEY-----\n", message,
         sig},
        {"clé privée au lieu de publique", test::LireFichier(cle.CheminPrive()), message, sig},
    };
    for (const auto& c : cas)
        EXPECT_FALSE(SignatureValide(c.cle, c.message, c.signature)) << c.cas;
    EXPECT_TRUE(ClePubliqueLisible(cle.PubliquePem()));
    EXPECT_FALSE(ClePubliqueLisible(p384.PubliquePem()));
    std::string sortie, erreur;
    EXPECT_FALSE(Signer(test::LireFichier(p384.CheminPrive()), message, sortie, erreur));
    EXPECT_FALSE(erreur.empty());
}

} // namespace
} // namespace emporteur
