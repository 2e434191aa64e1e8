// Le livret des cinq modèles montré sur une page, le temps d'une capture d'écran :
//   apercu_livret_win32.exe PAGE SECONDES   (PAGE de 0 à 4)
#include "OutilsFenetres.h"
#include "fenetres-win32/IdsPages.h"

#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    using namespace emporteur::win32;
    const int page = argc > 1 ? std::atoi(argv[1]) : 0;
    const int secondes = argc > 2 ? std::atoi(argv[2]) : 5;
    std::vector<std::unique_ptr<PageLivret>> pages;
    for (const int modele :
         {IDD_BIENVENUE, IDD_LISTE_VERSION, IDD_DESTINATION, IDD_TELECHARGEMENT, IDD_TERMINAY})
        pages.push_back(std::make_unique<PageLivret>(modele));
    std::vector<PageLivret*> liste;
    for (auto& p : pages)
        liste.push_back(p.get());
    Livret livret(GetModuleHandleW(nullptr), liste, page);
    const HWND feuille = livret.Montrer();
    if (!feuille) return 1;
    essais::livret::Pomper(
        feuille, [] { return false; }, std::chrono::seconds(secondes));
    DestroyWindow(feuille);
    return 0;
}
