// Le vrai programme dans un vrai serveur X (Xvfb) : sa fenêtre se trouve par son
// titre, et se ferme par Échap ; le processus se termine alors, avec le code 0.
#include "outils/DossierTemporaire.h"
#include "outils/Processus.h"

#include <gtest/gtest.h>

namespace emporteur::test {
namespace {

// Attend la fenêtre, la ferme, attend la fin du programme (10 s au plus).
const char* const kScenario = R"SH(
"$PROGRAMME" $LIGNE & pid=$!
id=$(timeout 30 xdotool search --sync --name "^$TITRE\$" | head -n 1)
[ -n "$id" ] || { kill $pid; echo "fenêtre introuvable"; exit 3; }
echo "trouvée : $(xdotool getwindowname $id)"
xdotool windowfocus --sync $id key Escape
for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && { kill $pid; echo "toujours ouvert"; exit 4; }
wait $pid
)SH";

TEST(ProgrammeReel, FenetreTrouveeParSonTitreEtFermee) {
    struct Cas {
        const char* ligne;
        const char* titre;
    } cas[] = {{"", "Emporteur"}, {"/A", "Generation des CRC"}};
    for (const auto& c : cas) {
        EnvironnementIsole env;
        const auto r =
            Executer("xvfb-run", {"-a", "-s", "-screen 0 1024x768x24", "sh", "-c", kScenario},
                     {{"PROGRAMME", EMPORTEUR_PROGRAMME},
                      {"LIGNE", c.ligne},
                      {"TITRE", c.titre},
                      {"QT_QPA_PLATFORM", "xcb"}});
        EXPECT_EQ(r.code, 0) << c.titre << "\n" << r.sortie << r.erreurs;
        EXPECT_NE(r.sortie.find(std::string("trouvée : ") + c.titre), std::string::npos)
            << r.sortie;
    }
}

} // namespace
} // namespace emporteur::test
