// Retry-After : lu sous ses deux formes et rendu avec l'échec qui l'a porté.
#include "BancHttp.h"

#include "http/AttenteServeur.h"

namespace emporteur::test {
namespace {

using Code = CodeTransfert;

TEST(AttenteServeur, SecondesOuDateHttp) {
    const std::time_t maintenant = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
    const struct {
        const char* valeur;
        std::int32_t secondes;
    } cas[] = {
        {"2", 2},
        {" 120 \r\n", 120},
        {"0", 0},
        {"99999999999999999999", 86400},
        {"Sun, 06 Nov 1994 08:50:07 GMT", 30},
        {"Sun, 06 Nov 1994 08:00:00 GMT", 0}, // passée
        {"", -1},
        {"-5", -1},
        {"1.5", -1},
        {"bientôt", -1},
    };
    for (const auto& c : cas)
        EXPECT_EQ(LireAttenteServeur(c.valeur, maintenant), c.secondes) << c.valeur;
}

TEST_F(BancHttp, LAttenteDemandeeAccompagneLEchecDeLaReponseQuiLaPorte) {
    serveur.RepondreStatut(Chemin, 503, 1);
    serveur.DemanderAttente(Chemin, "7");
    auto t = Ouvrir();
    TamponGarde tampon(1000);
    auto r = t->LirePlage(tampon.Donnees(), 1000, 0, message);
    EXPECT_EQ(r.Code, Code::Reprendre);
    EXPECT_EQ(r.Statut, 503);
    EXPECT_EQ(r.AttenteServeur, 7);
    r = t->LirePlage(tampon.Donnees(), 1000, 0, message); // réponse suivante sans l'en-tête
    EXPECT_EQ(r.Code, Code::Reussi);
    EXPECT_EQ(r.AttenteServeur, -1);
}

} // namespace
} // namespace emporteur::test
