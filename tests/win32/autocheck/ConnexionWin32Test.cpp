// Le test de connexion de Windows, cherché au moment de l'appel, et la présence d'un
// bureau. Wine répond toujours « connecté » : la réponse réelle est comparée à celle
// de wininet, et les chemins d'échec sont pris avec des bibliothèques ou des
// fonctions qui manquent vraiment.
#include "autocheck/AffichageGraphique.h"
#include "autocheck/ConnexionInternet.h"
#include "autocheck/win32/SondeWininet.h"
#include "foundation/ConstantesWin32.h"

#include <wininet.h>

#include <gtest/gtest.h>

namespace emporteur {
namespace {

TEST(ConnexionWin32, BibliothequeEtFonctionCherchees) {
    DWORD drapeaux = 0;
    const bool reponseSysteme = ::InternetGetConnectedState(&drapeaux, 0) != FALSE;
    const struct {
        const wchar_t* bibliotheque;
        const char* fonction;
        bool attendu;
    } cas[] = {
        {L"wininet.dll", "InternetGetConnectedState", reponseSysteme},
        {L"absente-emporteur.dll", "InternetGetConnectedState", false},
        {L"kernel32.dll", "InternetGetConnectedState", false}, // pas la bonne bibliothèque
        {L"wininet.dll", "FonctionAbsente", false},
    };
    for (const auto& c : cas)
        EXPECT_EQ(ConnexionSelon(c.bibliotheque, c.fonction), c.attendu) << c.fonction;
    EXPECT_EQ(ConnexionInternet(), reponseSysteme);
}

// Un programme de la session voit le bureau interactif (WinSta0, visible).
TEST(ConnexionWin32, BureauDeLaSession) {
    EXPECT_TRUE(AffichageDisponible());
}

} // namespace
} // namespace emporteur
