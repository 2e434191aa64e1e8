#include "download/DescripteurFichier.h"
#include "outils/DossierTemporaire.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <stdlib.h>

namespace emporteur {
namespace {

// D'un système de fichiers à l'autre, le noyau refuse la copie directe : le
// repli par tampon doit donner les mêmes octets et signaler la fin de la source.
// Sous Windows, toute copie passe par le tampon : un second dossier suffit.
TEST(DescripteurFichier, CopieEntreSystemesDeFichiersParLeRepli) {
#ifdef _WIN32
    const auto second = std::make_unique<test::DossierTemporaire>();
    const std::string autre = second->Chemin();
#else
    char modele[] = "/dev/shm/emporteur-XXXXXX";
    if (!std::filesystem::is_directory("/dev/shm") || ::mkdtemp(modele) == nullptr)
        GTEST_SKIP() << "pas de /dev/shm";
    const std::string autre = modele;
#endif
    test::DossierTemporaire tmp;
    std::string contenu(3u << 20, '\0');
    for (std::size_t i = 0; i < contenu.size(); ++i)
        contenu[i] = static_cast<char>(i * 7 + i / 4096);
    test::EcrireFichier(tmp / "source", contenu);
    {
        const auto source = DescripteurFichier::OuvrirLecture(tmp / "source");
        auto cible = DescripteurFichier::Creer(autre + "/cible");
        ASSERT_TRUE(source.EstOuvert() && cible.EstOuvert());
        EXPECT_EQ(CopierPlage(source, 5, cible, 0, contenu.size()),
                  static_cast<std::int64_t>(contenu.size() - 5));
        EXPECT_TRUE(cible.Fermer());
    }
    EXPECT_EQ(test::LireFichier(autre + "/cible"), contenu.substr(5));
#ifndef _WIN32
    std::filesystem::remove_all(autre);
#endif
}

} // namespace
} // namespace emporteur
