// Questions du fil de travail à une interface qui, comme une vraie interface graphique,
// les fait servir par le fil de l'interface : une annulation ne s'y bloque jamais.
#include "BancTache.h"

#include "foundation/GuichetQuestions.h"

#include <chrono>
#include <future>
#include <thread>

namespace emporteur::test {
namespace {

using namespace std::chrono_literals;
using Horloge = std::chrono::steady_clock;

// Les questions posées hors du fil de l'interface attendent qu'il les serve ; ce que le
// fil de travail a reçu est noté.
class InterfaceBloquante : public InterfaceEnregistreuse {
  public:
    Reponse BoiteMessage(const std::string& texte, const std::string& titre,
                         unsigned style) override {
        if (SurFilInterface()) return InterfaceEnregistreuse::BoiteMessage(texte, titre, style);
        Reponse r{};
        if (!guichet.Poser([&] { r = InterfaceEnregistreuse::BoiteMessage(texte, titre, style); }))
            r = Reponse::Annuler;
        Recu("boite " + std::to_string(static_cast<int>(r)));
        return r;
    }
    bool DemanderIdentifiants(const std::string& adresse, bool mandataire, std::string& utilisateur,
                              std::string& motDePasse) override {
        if (SurFilInterface())
            return InterfaceEnregistreuse::DemanderIdentifiants(adresse, mandataire, utilisateur,
                                                                motDePasse);
        bool ok = false;
        if (!guichet.Poser([&] {
                ok = InterfaceEnregistreuse::DemanderIdentifiants(adresse, mandataire, utilisateur,
                                                                  motDePasse);
            }))
            ok = false;
        Recu(ok ? "identifiants" : "refus");
        return ok;
    }
    void RefuserQuestionsEnAttente() override { guichet.Refuser(); }

    std::vector<std::string> Recues() const {
        std::lock_guard verrou(recuesVerrou_);
        return recues_;
    }

    GuichetQuestions guichet;
    const std::thread::id filInterface = std::this_thread::get_id();

  private:
    bool SurFilInterface() const { return std::this_thread::get_id() == filInterface; }
    void Recu(std::string r) {
        std::lock_guard verrou(recuesVerrou_);
        recues_.push_back(std::move(r));
    }
    mutable std::mutex recuesVerrou_;
    std::vector<std::string> recues_;
};

class QuestionsDuTravail : public BancTache {
  protected:
    // Lance la tâche sur son fil ; rend quand le fil de travail attend une réponse.
    std::future<int> LancerJusquALaQuestion() {
        tache = std::make_unique<TacheTelechargement>(&ensemble, &bloquante);
        tache->RemplacerRequeteEspace([](const std::string&, std::uint64_t& libre, int&) {
            libre = std::uint64_t{1} << 40;
            return true;
        });
        auto fil = std::async(std::launch::async, TacheTelechargement::ProcedureFil, tache.get());
        const auto limite = Horloge::now() + 10s;
        while (bloquante.guichet.EnAttente() == 0 && Horloge::now() < limite)
            std::this_thread::sleep_for(5ms);
        return fil;
    }

    InterfaceBloquante bloquante;
};

TEST_F(QuestionsDuTravail, AnnulerPendantUneQuestionLaRefuseSansInterblocage) {
    const std::string contenu = Octets(3000);
    Ajouter("prive.bin", contenu, 1000);
    serveur.ExigerIdentifiants("/rep/prive.bin", "anne", "secret");
    bloquante.identifiants = {{"anne", "secret"}}; // ne doit jamais être donné
    auto fil = LancerJusquALaQuestion();
    ASSERT_EQ(bloquante.guichet.EnAttente(), 1u) << "le fil de travail n'a rien demandé";

    // Le fil de l'interface annule sans servir sa boucle : la question est refusée.
    const auto debut = Horloge::now();
    EXPECT_TRUE(tache->Annuler());
    EXPECT_LT(Horloge::now() - debut, 10s); // la borne d'Annuler
    const bool fini = fil.wait_for(1s) == std::future_status::ready;
    if (!fini) bloquante.guichet.Refuser(); // sinon le test lui-même resterait bloqué
    ASSERT_TRUE(fini);
    EXPECT_EQ(fil.get(), 0);
    EXPECT_EQ(bloquante.Recues(), std::vector<std::string>{"refus"});
    EXPECT_TRUE(bloquante.Appels("Identifiants").empty()); // rien n'a été montré
    EXPECT_EQ(bloquante.guichet.EnAttente(), 0u);
    EXPECT_EQ(serveur.Requetes("/rep/prive.bin"), 1); // pas de nouvel essai après le refus
    EXPECT_FALSE(Existe("prive.bin"));
}

TEST_F(QuestionsDuTravail, UneQuestionServieParLeFilDeLInterfaceDonneLesIdentifiants) {
    const std::string contenu = Octets(3000);
    Ajouter("prive.bin", contenu, 1000);
    serveur.ExigerIdentifiants("/rep/prive.bin", "anne", "secret");
    bloquante.identifiants = {{"anne", "secret"}};
    auto fil = LancerJusquALaQuestion();
    EXPECT_EQ(bloquante.guichet.Servir(), 1u);
    ASSERT_EQ(fil.wait_for(10s), std::future_status::ready);
    EXPECT_EQ(fil.get(), 0) << Journal();
    EXPECT_EQ(bloquante.Recues(), std::vector<std::string>{"identifiants"});
    EXPECT_EQ(LireFichier(Chemin("prive.bin")), contenu);
}

} // namespace
} // namespace emporteur::test
