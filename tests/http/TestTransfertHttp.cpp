// Lectures de plages, statuts HTTP et identifiants, contre un vrai serveur local.
#include "BancHttp.h"

#include "http/DelaisReseau.h"

namespace emporteur::test {
namespace {

using Code = CodeTransfert;

TEST_F(BancHttp, DeuxLecturesEnvoientChacuneSaPlageSurLeMemeTransfert) {
    std::vector<std::uint32_t> progres;
    auto t = Ouvrir([&](std::uint32_t n) { progres.push_back(n); });
    TamponGarde a(1000), b(20000);

    auto r = t->LirePlage(a.Donnees(), 1000, 100, message);
    EXPECT_EQ(r.Code, Code::Reussi);
    EXPECT_EQ(r.Octets, 1000u);
    EXPECT_EQ(r.Statut, 206);
    EXPECT_EQ(a.Contenu(1000), contenu.substr(100, 1000));
    EXPECT_EQ(serveur.DerniereEntete("User-Agent"), "TelechargementMervanique 3.0.0.0");

    r = t->LirePlage(b.Donnees(), 20000, 50000, message);
    EXPECT_EQ(r.Code, Code::Reussi);
    EXPECT_EQ(b.Contenu(20000), contenu.substr(50000, 20000));
    EXPECT_EQ(serveur.DerniereEntete("Range"), "bytes=50000-69999");
    EXPECT_EQ(serveur.DernieresEntetes().count("Range"), 1u);
    EXPECT_EQ(serveur.Plages(Chemin),
              (std::vector<PlageServie>{{100, 1099, 206}, {50000, 69999, 206}}));
    EXPECT_TRUE(a.GardesIntactes() && b.GardesIntactes());
    EXPECT_EQ(message, "");
    // Le rappel suit les octets reçus de la lecture en cours, jusqu'au total.
    ASSERT_FALSE(progres.empty());
    EXPECT_TRUE(std::is_sorted(progres.begin() + 1, progres.end()));
    EXPECT_EQ(progres.back(), 20000u);
}

TEST_F(BancHttp, Un206PlusCourtQueDemandeReussitAvecLeCompteRecu) {
    auto t = Ouvrir();
    TamponGarde tampon(1000);
    const auto r = t->LirePlage(tampon.Donnees(), 1000, 99500, message);
    EXPECT_EQ(r.Code, Code::Reussi);
    EXPECT_EQ(r.Octets, 500u);
    EXPECT_EQ(tampon.Contenu(500), contenu.substr(99500));
    EXPECT_TRUE(tampon.GardesIntactes());
}

TEST_F(BancHttp, UnCorpsVideEstAReprendreOuDefinitifEnSilencieux) {
    serveur.AjouterFichier("/dossier/vide", "");
    serveur.IgnorerPlage("/dossier/vide");
    serveur.RepondreStatut(Chemin, 204);
    for (const bool silencieux : {false, true}) {
        for (const std::string objet : {"objet.bin", "vide"}) {
            TransfertHttp t(&ui);
            t.FixerSilencieux(silencieux);
            ASSERT_TRUE(t.Ouvrir(serveur.Hote(), "dossier", objet, {}, message));
            TamponGarde tampon(100);
            const auto r = t.LirePlage(tampon.Donnees(), 100, 0, message);
            EXPECT_EQ(r.Code, silencieux ? Code::Abandon : Code::Reprendre) << objet;
            EXPECT_EQ(r.Octets, 0u);
            EXPECT_EQ(r.Statut, objet == "vide" ? 200 : 204);
            EXPECT_EQ(message, "");
            EXPECT_TRUE(tampon.Intact());
        }
    }
}

// Le message d'un statut : sa phrase, et son numéro dans le code de l'étape.
std::string Detail(const std::string& description, int statut) {
    return "Erreur de téléchargement : \"" + description +
           "\" code = " + std::to_string(213000 + statut) + ".";
}

TEST_F(BancHttp, LesStatutsDErreurDonnentLeurMessageEtLeurCode) {
    struct Cas {
        int statut;
        Code code;
        std::string message;
    };
    const std::vector<Cas> cas = {
        {404, Code::Abandon, "Erreur de téléchargement : fichier introuvable."},
        {400, Code::Abandon, "Erreur inattendue\u00A0: Veuillez nous contacter\t(code 2)."},
        {417, Code::Abandon, "Erreur inattendue\u00A0: Veuillez nous contacter\t(code 1)."},
        {403, Code::Reprendre, Detail("Le serveur refuse l'accès au fichier.", 403)},
        {408, Code::Reprendre,
         Detail("Le serveur a abandonné une demande trop lente à venir.", 408)},
        {410, Code::Abandon, Detail("Le fichier a été retiré du serveur.", 410)},
        {416, Code::Reprendre, Detail("Le fichier du serveur est plus court que prévu.", 416)},
        {429, Code::Reprendre,
         Detail("Le serveur reçoit trop de demandes ; nouvel essai plus tard.", 429)},
        {500, Code::Reprendre, Detail("Le serveur a rencontré une erreur interne.", 500)},
        {502, Code::Reprendre,
         Detail("Le serveur mandataire ou la passerelle a reçu une réponse non valide.", 502)},
        {503, Code::Reprendre, Detail("Le serveur est momentanément indisponible.", 503)},
        {504, Code::Reprendre,
         Detail("Le serveur mandataire ou la passerelle n'a pas reçu de réponse à temps.", 504)},
        {451, Code::Reprendre, Detail("Le serveur a refusé la demande.", 451)},
        {505, Code::Reprendre, Detail("Le serveur a rencontré une erreur.", 505)},
        {399, Code::Reprendre, Detail("Une erreur inconnue s'est produite.", 399)},
    };
    auto t = Ouvrir();
    TamponGarde tampon(1000);
    for (const auto& c : cas) {
        serveur.RepondreStatut(Chemin, c.statut);
        const auto r = t->LirePlage(tampon.Donnees(), 1000, 0, message);
        EXPECT_EQ(r.Code, c.code) << c.statut;
        EXPECT_EQ(r.Statut, c.statut);
        EXPECT_EQ(r.Octets, 0u);
        EXPECT_EQ(message, c.message);
    }
    // Le corps des réponses d'erreur n'atteint jamais le tampon.
    EXPECT_TRUE(tampon.Intact());
    // Un fichier absent du serveur : 404 définitif même en mode ordinaire.
    TransfertHttp absent(&ui);
    ASSERT_TRUE(absent.Ouvrir(serveur.Hote(), "dossier", "absent", {}, message));
    EXPECT_EQ(absent.LirePlage(tampon.Donnees(), 10, 0, message).Code, Code::Abandon);
}

TEST_F(BancHttp, LeMessageEstCoupeALaZoneSansCouperUnCaractere) {
    serveur.RepondreStatut(Chemin, 404);
    auto t = Ouvrir();
    char octet;
    // "Erreur de t" fait 11 octets, puis "é" en occupe 2 : une zone de 13 n'en garde que 11.
    t->LirePlage(&octet, 1, 0, message, 13);
    EXPECT_EQ(message, "Erreur de t");
    t->LirePlage(&octet, 1, 0, message, 14);
    EXPECT_EQ(message, "Erreur de té");
    t->LirePlage(&octet, 1, 0, message, 0);
    EXPECT_EQ(message, "");
}

TEST_F(BancHttp, Un401ConsulteLUtilisateurAuPlusTroisFois) {
    serveur.ExigerIdentifiants(Chemin, "anne", "secret");
    TamponGarde tampon(1000);
    {
        // Trois dialogues acceptés avec de mauvais identifiants : accès refusé.
        ui.identifiants = {{"anne", "faux"}, {"anne", "faux2"}, {"bob", "x"}, {"anne", "secret"}};
        auto t = Ouvrir();
        const auto r = t->LirePlage(tampon.Donnees(), 1000, 0, message);
        EXPECT_EQ(r.Code, Code::Reprendre);
        EXPECT_EQ(r.Statut, 401);
        EXPECT_EQ(message, "Erreur de téléchargement : accès refusé.");
        EXPECT_EQ(ui.Appels("Identifiants").size(), 3u);
        EXPECT_EQ(ui.Appels("Identifiants")[0].titre, "serveur");
        EXPECT_TRUE(tampon.Intact());
    }
    {
        // Un dialogue refusé : accès refusé tout de suite.
        ui.identifiants.clear();
        auto t = Ouvrir();
        const auto r = t->LirePlage(tampon.Donnees(), 1000, 0, message);
        EXPECT_EQ(r.Code, Code::Reprendre);
        EXPECT_EQ(message, "Erreur de téléchargement : accès refusé.");
        EXPECT_EQ(ui.Appels("Identifiants").size(), 4u);
    }
    {
        // Les bons identifiants au deuxième essai : les données, et ils restent pour la suite.
        ui.identifiants = {{"anne", "faux"}, {"anne", "secret"}};
        auto t = Ouvrir();
        auto r = t->LirePlage(tampon.Donnees(), 1000, 2000, message);
        EXPECT_EQ(r.Code, Code::Reussi);
        EXPECT_EQ(tampon.Contenu(1000), contenu.substr(2000, 1000));
        EXPECT_EQ(ui.Appels("Identifiants").size(), 6u);
        r = t->LirePlage(tampon.Donnees(), 1000, 3000, message);
        EXPECT_EQ(r.Code, Code::Reussi);
        EXPECT_EQ(ui.Appels("Identifiants").size(), 6u);
        EXPECT_TRUE(tampon.GardesIntactes());
    }
}

TEST_F(BancHttp, EnSilencieuxUn401NeMontreAucunDialogue) {
    serveur.ExigerIdentifiants(Chemin, "anne", "secret");
    ui.identifiants = {{"anne", "secret"}};
    TransfertHttp t(&ui);
    t.FixerSilencieux(true);
    ASSERT_TRUE(t.Ouvrir(serveur.Hote(), "dossier", "objet.bin", {}, message));
    char tampon[10];
    const auto r = t.LirePlage(tampon, 10, 0, message);
    EXPECT_EQ(r.Code, Code::Reprendre);
    EXPECT_EQ(message, "Erreur de téléchargement : accès refusé.");
    EXPECT_TRUE(ui.Appels().empty());
}

TEST_F(BancHttp, UnTransfertNonOuvertRefuseToutesLesLectures) {
    TransfertHttp jamaisOuvert;
    char tampon[10];
    auto r = jamaisOuvert.LirePlage(tampon, 10, 0, message);
    EXPECT_EQ(r.Code, Code::Abandon);
    EXPECT_EQ(message, "Erreur indéterminée d'initialisation du téléchargement : code = 21.");

    TransfertHttp malOuvert;
    EXPECT_FALSE(malOuvert.Ouvrir("http://[hôte", "dossier", "objet", {}, message));
    EXPECT_EQ(message, "Erreur d'initialisation du téléchargement : \"L'adresse du serveur "
                       "n'est pas valide.\" code = 13.");
    r = malOuvert.LirePlage(tampon, 10, 0, message);
    EXPECT_EQ(r.Code, Code::Abandon);
    EXPECT_EQ(message, "Erreur indéterminée d'initialisation du téléchargement : code = 21.");
    EXPECT_EQ(serveur.Requetes(), 0);
}

TEST(AdressesTransfert, MandataireEtCheminDObjet) {
    EXPECT_EQ(AdresseMandataire({"cache", 3128}), "http://cache:3128");
    EXPECT_EQ(AdresseMandataire({}), "http://:80");
    EXPECT_EQ(CheminObjet("", "RecettesOrthalis"), "RecettesOrthalis");
    EXPECT_EQ(CheminObjet("telecharger/assistants/Win", "Ingrédients 1.exe"),
              "telecharger/assistants/Win/Ingr%C3%A9dients%201.exe");
    // La requête des listes de mise à niveau garde sa forme.
    EXPECT_EQ(CheminObjet("", "ingredients.php?v=6.0&x=%41"), "ingredients.php?v=6.0&x=%41");
    EXPECT_EQ(CheminObjet("d", "a\r\nHost: x#y"), "d/a%0D%0AHost:%20x%23y");
}

} // namespace
} // namespace emporteur::test

namespace emporteur::test {
namespace {

TEST(DelaisReseau, LesVariablesRaccourcissentSansJamaisSupprimerLesDelais) {
    {
        VariableTemporaire c("EMPORTEUR_DELAI_CONNEXION", std::nullopt);
        VariableTemporaire b("EMPORTEUR_DELAI_BLOCAGE", std::nullopt);
        const auto d = LireDelaisReseau();
        EXPECT_EQ(d.Connexion, 60);
        EXPECT_EQ(d.Blocage, 30);
    }
    {
        VariableTemporaire c("EMPORTEUR_DELAI_CONNEXION", "3");
        VariableTemporaire b("EMPORTEUR_DELAI_BLOCAGE", "2");
        EXPECT_EQ(LireDelaisReseau().Connexion, 3);
        EXPECT_EQ(LireDelaisReseau().Blocage, 2);
    }
    for (const char* faux : {"0", "-5", "abc", "10s", "", "99999"}) {
        VariableTemporaire b("EMPORTEUR_DELAI_BLOCAGE", faux);
        EXPECT_EQ(LireDelaisReseau().Blocage, 30) << faux;
    }
}

} // namespace
} // namespace emporteur::test
