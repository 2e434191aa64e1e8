// L'empreinte SHA-256 du catalogue contre un corps falsifié dont les CRC-32 concordent :
// rien sous le nom final, segments abandonnés, rien de lancé ; la réparation aussi.
#include "BancTache.h"

#include "assistant/LogiqueTerminay.h"
#include "download/EmpreinteFichier.h"
#include "foundation/Empreinte.h"

namespace emporteur {
namespace {

constexpr std::uint32_t kSegment = 64 * 1024;

class TacheEmpreinte : public test::BancTache {
  protected:
    // Le corps servi `corps`, les CRC du corps servi, l'empreinte de `signe`.
    Ingredient& Servir(const std::string& corps, const std::string& signe) {
        Ingredient& ing = Ajouter("maj.exe", corps, kSegment);
        ing.Empreinte = EnHexadecimal(EmpreinteDe(signe));
        ing.ALancer = true;
        return ing;
    }
    // Ce que la page de fin lancerait, avec une clé au programme.
    std::vector<test::AppelInterface> Lances(bool avecCle = true) {
        test::InterfaceEnregistreuse ui;
        ContexteTelechargement ctx{ModeExecution::Ordinaire, ui};
        if (avecCle) ctx.ClesPubliques = {"une clé"};
        auto recette = std::make_unique<Recette>();
        recette->Dossier = ensemble.Dossier;
        recette->AjouterFichiersDe(ensemble);
        ctx.Recettes.push_back(std::move(recette));
        ctx.IndiceChoisi = 0;
        TerminerAssistant(ctx, true, [](std::chrono::milliseconds) {});
        return ui.Appels("Ouvrir");
    }

    const std::string original = test::Octets(300'000, 1);
    const std::string falsifie = [this] {
        std::string f = original;
        f[150'000] ^= 0x5A;
        return f;
    }();
};

TEST_F(TacheEmpreinte, CorpsFalsifieAuxCrcConcordantsRefuseSansRienPublierNiLancer) {
    Servir(falsifie, original);
    EXPECT_EQ(Executer(), 1);
    EXPECT_TRUE(test::Contient(LignesJournal(), kMessageEmpreinte)) << Journal();
    EXPECT_FALSE(Existe("maj.exe"));
    EXPECT_FALSE(Existe(".maj.exe.assemblage"));
    EXPECT_EQ(Segments("maj.exe"), 0); // une reprise redemandera tout
    EXPECT_FALSE(ensemble.Fichiers[0]->EmpreinteVerifiee);
    EXPECT_TRUE(Lances().empty());

    // Le vrai catalogue et le vrai fichier : tout est redemandé, vérifié, lancé.
    serveur.AjouterFichier("/rep/maj.exe", original);
    ensemble.Fichiers[0]->Crcs = test::ListeCrc(original, kSegment);
    serveur.OublierRequetes();
    EXPECT_EQ(Executer(), 0) << Journal();
    EXPECT_EQ(test::LireFichier(Chemin("maj.exe")), original);
    EXPECT_TRUE(ensemble.Fichiers[0]->EmpreinteVerifiee);
    std::uint64_t servis = 0;
    for (const auto& p : serveur.Plages("/rep/maj.exe"))
        servis += p.fin + 1 - p.debut;
    EXPECT_EQ(servis, original.size());
    ASSERT_EQ(Lances().size(), 1u);
}

TEST_F(TacheEmpreinte, LaReparationVerifieAussiLeFichierEntier) {
    // Le fichier entier déjà là, falsifié, et un catalogue dont les CRC concordent avec lui.
    test::EcrireFichier(Chemin("maj.exe"), falsifie);
    Servir(falsifie, original);
    EXPECT_EQ(Executer(), 1);
    EXPECT_TRUE(test::Contient(LignesJournal(), kMessageEmpreinte)) << Journal();
    EXPECT_EQ(serveur.Requetes("/rep/maj.exe"), 0); // chaque segment semblait bon
    EXPECT_EQ(Segments("maj.exe"), 0);
    EXPECT_FALSE(ensemble.Fichiers[0]->EstReussi);
}

TEST_F(TacheEmpreinte, EmpreinteParCas) {
    const struct {
        const char* cas;
        std::string empreinte;
        int resultat;
        bool verifiee;
    } cas[] = {
        {"sans empreinte : comme avant", "", 0, false},
        {"empreinte juste", EnHexadecimal(EmpreinteDe(original)), 0, true},
        {"empreinte juste en majuscules",
         [&] {
             std::string e = EnHexadecimal(EmpreinteDe(original));
             for (char& c : e)
                 c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
             return e;
         }(),
         0, true},
        {"empreinte illisible", "abc", 1, false},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.cas);
        std::filesystem::remove(Chemin("maj.exe"));
        ensemble.Fichiers.clear();
        Servir(original, original).Empreinte = c.empreinte;
        EXPECT_EQ(Executer(), c.resultat) << Journal();
        EXPECT_EQ(ensemble.Fichiers[0]->EmpreinteVerifiee, c.verifiee);
        EXPECT_EQ(Existe("maj.exe"), c.resultat == 0);
    }
}

TEST_F(TacheEmpreinte, LancementReverifieJusteAvant) {
    Servir(original, original);
    ASSERT_EQ(Executer(), 0);
    EXPECT_EQ(Lances().size(), 1u);
    // Changé sur le disque après la vérification : plus lancé.
    std::string change = original;
    change[10] ^= 1;
    test::EcrireFichier(Chemin("maj.exe"), change);
    EXPECT_TRUE(Lances().empty());
    // Sans empreinte vérifiée, une construction avec clé ne lance rien, sans clé comme avant.
    ensemble.Fichiers[0]->EmpreinteVerifiee = false;
    EXPECT_TRUE(Lances().empty());
    EXPECT_EQ(Lances(false).size(), 1u);
}

} // namespace
} // namespace emporteur
