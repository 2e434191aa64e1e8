// Le catalogue vient du serveur : des octets quelconques ne doivent jamais faire planter
// l'interprétation. Les données sont coupées en trois textes au premier et au second NUL.
#include "catalogue/InterpreterCatalogue.h"
#include "catalogue/SyntaxeCatalogue.h"
#include "commun/ContexteTelechargement.h"
#include "foundation/Texte.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {
class InterfaceMuette : public emporteur::InterfaceUtilisateur {
  public:
    emporteur::Reponse BoiteMessage(const std::string&, const std::string&, unsigned) override {
        return emporteur::Reponse::Non;
    }
    bool DemanderIdentifiants(const std::string&, bool, std::string&, std::string&) override {
        return false;
    }
    bool Ouvrir(const std::string&) override { return true; }
    bool Explorer(const std::string&) override { return true; }
    bool ChoisirDossier(const std::string&, std::string&) override { return false; }
    bool MettreAuPremierPlan(const std::string&) override { return false; }
    void TerminerProcessus(int) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    std::string brut(reinterpret_cast<const char*>(donnees), taille);
    std::string textes[3];
    std::size_t debut = 0;
    for (int i = 0; i < 3; ++i) {
        const auto fin = i < 2 ? brut.find('\0', debut) : std::string::npos;
        textes[i] = brut.substr(debut, fin == std::string::npos ? std::string::npos : fin - debut);
        if (fin == std::string::npos) break;
        debut = fin + 1;
    }
    for (auto& t : textes) {
        emporteur::RetirerRetoursChariot(t);
        t = emporteur::DecoderTexteServeur(t);
    }
    InterfaceMuette muette;
    emporteur::ContexteTelechargement ctx(emporteur::ModeExecution::Ordinaire, muette);
    ctx.VersionInstallee = textes[2].substr(0, 16);
    emporteur::InterpreterCatalogue(ctx, textes[0], textes[1], textes[2]);
    emporteur::MiseANiveauOfferte(ctx);
    std::string titre;
    emporteur::TitreMiseANiveau(textes[2], titre);
    return 0;
}
