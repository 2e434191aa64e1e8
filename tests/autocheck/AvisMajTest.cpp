#include "autocheck/AvisMaj.h"
#include "autocheck/DernierAvis.h"
#include "foundation/CleRegistre.h"
#include "outils/DossierTemporaire.h"
#include "outils/InterfaceEnregistreuse.h"

#include <gtest/gtest.h>

namespace emporteur {
namespace {

class Avis : public ::testing::Test {
  protected:
    // Valeur lue dans le registre ; "<absente>" si la clé ou la valeur manque.
    static std::string Valeur(const char* nom) {
        CleRegistre cle;
        std::string texte;
        if (cle.OuvrirCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ) != ERROR_SUCCESS ||
            cle.LireTexte(nom, texte, 1000) != ERROR_SUCCESS)
            return "<absente>";
        return texte;
    }
    static void Ecrire(const char* nom, const std::string& texte) {
        CleOuverte cle;
        ASSERT_EQ(CreerCle(HKEY_CURRENT_USER, kCleTelechargement, KEY_READ | KEY_WRITE, cle), 0);
        ASSERT_EQ(cle.EcrireTexte(nom, texte), 0);
    }
    void AjouterRecette(const std::string& produit, const std::string& versionMaj) {
        ctx.Recettes.push_back(std::make_unique<Recette>());
        ctx.Recettes.back()->Produit = produit;
        ctx.Recettes.back()->VersionMaj = versionMaj;
    }

    test::EnvironnementIsole env;
    test::InterfaceEnregistreuse ui;
    ContexteTelechargement ctx{ModeExecution::MajDiscrete, ui};
};

TEST_F(Avis, PremierDemarrageCreeLaCleEtTroisValeursVides) {
    EXPECT_EQ(Valeur("MAJ"), "<absente>");
    DernierAvis avis;
    EXPECT_EQ(avis.DerniereVerification, "");
    EXPECT_EQ(avis.MAJ, "");
    EXPECT_EQ(avis.MAN, "");
    for (const char* nom : {"DerniereVerification", "MAJ", "MAN"})
        EXPECT_EQ(Valeur(nom), "") << nom;
}

TEST_F(Avis, UneValeurTropLongueEstLueVideEtRemplacee) {
    Ecrire("DerniereVerification", "2024-05-14");
    Ecrire("MAJ", std::string(25, '9'));
    Ecrire("MAN", "18 caractères.."); // 18 octets : tient avec son zéro
    DernierAvis avis;
    EXPECT_EQ(avis.DerniereVerification, "2024-05-14");
    EXPECT_EQ(avis.MAJ, "");
    EXPECT_EQ(avis.MAN, "18 caractères..");
    EXPECT_EQ(Valeur("MAJ"), "");
    EXPECT_EQ(Valeur("DerniereVerification"), "2024-05-14");
}

TEST_F(Avis, NoterAvisEcritLesTroisValeurs) {
    Ecrire("DerniereVerification", "2024-05-14");
    Ecrire("MAJ", "ancienne");
    DernierAvis avis;
    AjouterRecette("Orthalis 6.2", "6.2.0.3");
    AjouterRecette("Orthalis 6.3", "6.3.0.1");
    ctx.IndiceChoisi = 1;
    ctx.MajeurBoutique = 7;
    ctx.VersionInstallee = "6.1.0.12";
    NoterAvis(ctx, avis);
    EXPECT_EQ(Valeur("DerniereVerification"), "2024-05-14");
    EXPECT_EQ(Valeur("MAJ"), "6.3.0.1");
    EXPECT_EQ(Valeur("MAN"), "7");
    EXPECT_EQ(avis.MAJ, "6.3.0.1");

    // Sans élément choisi : la version installée ; texte coupé à 19 caractères.
    ctx.IndiceChoisi = -1;
    ctx.VersionInstallee = "1234567890.1234567890";
    ctx.MajeurBoutique = -1;
    NoterAvis(ctx, avis);
    EXPECT_EQ(Valeur("MAJ"), "1234567890.12345678");
    EXPECT_EQ(Valeur("MAN"), "-1");
    // Un indice hors de la liste ne lit rien au-delà : la version installée aussi.
    ctx.IndiceChoisi = 5;
    ctx.VersionInstallee = "6.1.0.12";
    NoterAvis(ctx, avis);
    EXPECT_EQ(Valeur("MAJ"), "6.1.0.12");
    // La relecture au démarrage suivant retrouve ce qui a été noté.
    DernierAvis relu;
    EXPECT_EQ(relu.MAJ, "6.1.0.12");
    EXPECT_EQ(relu.DerniereVerification, "2024-05-14");
}

TEST_F(Avis, TextesEtEtatsDeLAvis) {
    ctx.VersionAffichee = "Orthalis 6.1 (build 1234)";
    ctx.ProduitBoutique = "Orthalis 7";
    AjouterRecette("Orthalis 6.2", "6.2.0.3");
    ctx.IndiceChoisi = 0;

    EtatAvis tout = PreparerAvis(ctx, true, true, ModeExecution::MajDiscrete);
    EXPECT_EQ(tout.legende, "Emporteur");
    EXPECT_EQ(tout.texteVersion, "Vous utilisez Orthalis 6.1 (build 1234).");
    EXPECT_EQ(tout.question, "Souhaitez-vous télécharger la mise à jour à Orthalis 6.2 ?\n"
                             "Souhaitez-vous acheter la mise à niveau à Orthalis 7 ?");
    EXPECT_EQ(tout.libelleFermer, "Plus tard");
    EXPECT_TRUE(tout.miseAJourActif);
    EXPECT_TRUE(tout.miseANiveauActif);
    EXPECT_TRUE(tout.caseVisible);

    const EtatAvis maj = PreparerAvis(ctx, true, false, ModeExecution::MajDiscrete);
    EXPECT_EQ(maj.question, "Souhaitez-vous télécharger la mise à jour à Orthalis 6.2 ?");
    EXPECT_TRUE(maj.miseAJourActif);
    EXPECT_FALSE(maj.miseANiveauActif);

    const EtatAvis man = PreparerAvis(ctx, false, true, ModeExecution::MajPlusMan);
    EXPECT_EQ(man.question, "Souhaitez-vous acheter la mise à niveau à Orthalis 7 ?");
    EXPECT_FALSE(man.miseAJourActif);
    EXPECT_TRUE(man.miseANiveauActif);
    EXPECT_FALSE(man.caseVisible);

    // Sans élément choisi, le produit de la mise à jour est vide.
    ctx.IndiceChoisi = -1;
    ctx.VersionAffichee = "aucune détectée";
    const EtatAvis vide = PreparerAvis(ctx, true, true, ModeExecution::MajDiscrete);
    EXPECT_EQ(vide.question.rfind("Souhaitez-vous télécharger la mise à jour à  ?\n", 0), 0u);
    EXPECT_EQ(vide.texteVersion, "Vous utilisez aucune détectée.");

    CocherNePlusAviser(ctx, tout, true);
    EXPECT_EQ(tout.libelleFermer, "OK");
    EXPECT_TRUE(ctx.NePlusAviser);
    CocherNePlusAviser(ctx, tout, false);
    EXPECT_EQ(tout.libelleFermer, "Plus tard");
    EXPECT_FALSE(ctx.NePlusAviser);
}

TEST_F(Avis, ExecuterQuandMemeNeDemandeQuUneFois) {
    ctx.VersionAffichee = "Orthalis 6.1 (build 1234)";
    ui.reponses = {Reponse::Non};
    EXPECT_FALSE(ExecuterQuandMeme(ctx));
    ASSERT_EQ(ui.Appels().size(), 1u);
    const auto boite = ui.Appels()[0];
    EXPECT_EQ(boite.texte, "Votre version d'Orthalis, Orthalis 6.1 (build 1234), est la plus "
                           "récente.\r\rDésirez-vous quand même exécuter l’Emporteur?");
    EXPECT_EQ(boite.titre, "Emporteur");
    EXPECT_EQ(boite.style, MB_YESNO | MB_ICONEXCLAMATION | 0x52000u);
    EXPECT_FALSE(ctx.DemanderUneFois);
    EXPECT_TRUE(ExecuterQuandMeme(ctx));
    EXPECT_EQ(ui.Appels().size(), 1u);

    // Oui à la première question ; un libellé démesuré coupe la phrase à 255 octets.
    test::InterfaceEnregistreuse ui2;
    ContexteTelechargement autre{ModeExecution::MajPlusMan, ui2};
    autre.VersionAffichee = std::string(300, 'v');
    ui2.reponses = {Reponse::Oui};
    EXPECT_TRUE(ExecuterQuandMeme(autre));
    ASSERT_EQ(ui2.Appels().size(), 1u);
    const std::string texte = ui2.Appels()[0].texte;
    EXPECT_EQ(texte.find("\r\r"), 255u);
}

TEST(FinDeLAvis, SeulLeBoutonMiseAJourMeneAuTelechargement) {
    const std::pair<FermetureAvis, FinAvis> cas[] = {
        {FermetureAvis::BoutonMiseANiveau, FinAvis::MiseANiveau},
        {FermetureAvis::BoutonMiseAJour, FinAvis::MiseAJour},
        {FermetureAvis::BoutonPlusTard, FinAvis::PlusTard},
        {FermetureAvis::Entree, FinAvis::PlusTard},
        // Échap et le bureau ne rendent pas le code d'annulation 2, pris pour « Mise à jour ».
        {FermetureAvis::Echap, FinAvis::PlusTard},
        {FermetureAvis::GestionnaireFenetres, FinAvis::PlusTard},
    };
    for (const auto& [fermeture, fin] : cas)
        EXPECT_EQ(FinDeFermeture(fermeture), fin) << static_cast<int>(fermeture);
}

} // namespace
} // namespace emporteur
