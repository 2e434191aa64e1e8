// Les pièces Windows du transport sans serveur : liste de mandataires, erreurs WinINet,
// dates HTTP, mandataire du système lu au registre, autorités privées refusées.
#include "ReglagesInternet.h"
#include "commun/Mandataire.h"
#include "http/AttenteServeur.h"
#include "http/TransfertHttp.h"
#include "http/win32/ErreursWinInet.h"
#include "http/win32/ListeMandataire.h"

#include <gtest/gtest.h>

#include <wininet.h>

namespace emporteur::test {
namespace {

TEST(MandataireWin32, LaListeDeLaSessionNommeLeMandataire) {
    EXPECT_EQ(ListeMandataire({"cache", 3128}), "http=http://cache:3128");
    EXPECT_EQ(ListeMandataire({"proxy.local", 80}), "http=http://proxy.local:80");
    EXPECT_EQ(ListeMandataire({}), "");
}

TEST(ErreursWinInetWin32, LesCodesDonnentLesPhrasesDeLinux) {
    const struct {
        DWORD code;
        bool parMandataire;
        const char* texte;
        bool certificat;
    } cas[] = {
        {ERROR_INTERNET_NAME_NOT_RESOLVED, false, "Le nom du serveur n'a pas pu être résolu.",
         false},
        {ERROR_INTERNET_NAME_NOT_RESOLVED, true,
         "Le nom du serveur mandataire n'a pas pu être résolu.", false},
        {ERROR_INTERNET_CANNOT_CONNECT, false,
         "La connexion avec le serveur n'a pas pu être établie.", false},
        {ERROR_INTERNET_TIMEOUT, false, "Le délai d'attente de l'opération a expiré.", false},
        {ERROR_INTERNET_CONNECTION_RESET, false,
         "La connexion avec le serveur a été réinitialisée.", false},
        {ERROR_HTTP_INVALID_SERVER_RESPONSE, false, "Le serveur a envoyé une réponse non valide.",
         false},
        {ERROR_INTERNET_INVALID_URL, false, "L'adresse du serveur n'est pas valide.", false},
        {ERROR_NOT_ENOUGH_MEMORY, false, "Mémoire insuffisante.", false},
        {ERROR_INTERNET_SECURITY_CHANNEL_ERROR, false,
         "La connexion sécurisée avec le serveur a échoué.", false},
        {ERROR_INTERNET_INVALID_CA, false,
         "Le certificat de sécurité du serveur n'est pas valide.", true},
        {ERROR_INTERNET_SEC_CERT_DATE_INVALID, false,
         "Le certificat de sécurité du serveur n'est pas valide.", true},
    };
    for (const auto& c : cas) {
        EXPECT_EQ(DecrireErreurWinInet(c.code, c.parMandataire), c.texte) << c.code;
        EXPECT_EQ(EstErreurCertificatWinInet(c.code), c.certificat) << c.code;
    }
    // Un code rare : un texte non vide, jamais un plantage.
    EXPECT_FALSE(DecrireErreurWinInet(ERROR_INTERNET_EXTENDED_ERROR, false).empty());
    EXPECT_FALSE(DecrireErreurWinInet(99999, false).empty());
}

TEST(AttenteServeurWin32, SecondesOuDateHttpCommeSousLinux) {
    const std::time_t maintenant = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
    const struct {
        const char* valeur;
        std::int32_t secondes;
    } cas[] = {
        {"2", 2},
        {" 120 \r\n", 120},
        {"99999999999999999999", 86400},
        {"Sun, 06 Nov 1994 08:50:07 GMT", 30},
        {"Sun, 06 Nov 1994 08:00:00 GMT", 0},
        {"Sunday, 06-Nov-94 08:51:37 GMT", 120},
        {"", -1},
        {"-5", -1},
        {"1.5", -1},
        {"bientôt", -1},
        {"Sun, 06 Nov", -1},
    };
    for (const auto& c : cas)
        EXPECT_EQ(LireAttenteServeur(c.valeur, maintenant), c.secondes) << c.valeur;
}

TEST(MandataireWin32, LeReglageDuSystemeVientDuRegistre) {
    const struct {
        std::optional<std::wstring> serveur;
        std::optional<DWORD> actif;
        const char* reglage;
        const char* implicite;        // pour une adresse http://
        const char* impliciteSecurise; // pour une adresse https://
    } cas[] = {
        {L"cache:81", 1, "cache:81", "http://cache:81", "http://cache:81"},
        {L"cache:81", 0, "cache:81", "", ""},
        {L"cache", std::nullopt, "cache", "", ""},
        {L"http=cache:80;https=autre:443", 1, "http=cache:80;https=autre:443", "http://cache:80",
         "http://autre:443"},
        {L"https=autre:443", 1, "https=autre:443", "", "http://autre:443"},
        {L"Élodie-cache:3128", 1, "Élodie-cache:3128", "http://Élodie-cache:3128",
         "http://Élodie-cache:3128"},
        {std::nullopt, 1, "", "", ""},
    };
    for (const auto& c : cas) {
        ReglagesInternet reglages(c.serveur, c.actif);
        std::string reglage = "avant";
        EXPECT_TRUE(LireProxySysteme(reglage));
        EXPECT_EQ(reglage, c.reglage);
        EXPECT_EQ(MandataireImplicite("http://serveur/objet"), c.implicite) << c.reglage;
        EXPECT_EQ(MandataireImplicite("https://serveur/objet"), c.impliciteSecurise) << c.reglage;
        // Le réglage ne porte jamais d'identifiants.
        std::string u, m;
        EXPECT_FALSE(IdentifiantsDuSysteme("cache", 81, u, m));
    }
}

TEST(OuvertureWin32, UnFichierDAutoritesNeSertPasSousWindows) {
    TransfertHttp t;
    std::string message;
    ParametresConnexion connexion;
    connexion.FichierAutorites = "/etc/ssl/autorite-privee.pem";
    EXPECT_FALSE(t.Ouvrir("127.0.0.1:9", "dossier", "objet", connexion, message));
    EXPECT_EQ(message, "Erreur d'initialisation du téléchargement : \"Sous Windows, seules les "
                       "autorités de certification du système sont reconnues : le fichier "
                       "d'autorités ne peut pas servir.\" code = 101.");
    char octet;
    EXPECT_EQ(t.LirePlage(&octet, 1, 0, message).Code, CodeTransfert::Abandon);
    EXPECT_EQ(message, "Erreur indéterminée d'initialisation du téléchargement : code = 21.");
}

TEST(OuvertureWin32, UneAdresseInvalideEchoueALEtapeDeLaDemande) {
    for (const char* hote : {"http://:80", "https://serveur:99999", "http://serveur:port"}) {
        TransfertHttp t;
        std::string message;
        EXPECT_FALSE(t.Ouvrir(hote, "dossier", "objet", {}, message)) << hote;
        EXPECT_EQ(message, "Erreur d'initialisation du téléchargement : \"L'adresse du serveur "
                           "n'est pas valide.\" code = 13.")
            << hote;
    }
}

} // namespace
} // namespace emporteur::test
