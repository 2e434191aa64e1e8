#include "fenetres-win32/ChoixShell.h"

#include "foundation/win32/Utf16.h"

#include <objbase.h>
#include <shobjidl.h>

namespace emporteur::win32 {

namespace {
// COM pour la durée du choix ; déjà ouvert sur ce fil dans un autre mode, on s'en sert.
class ApartementCom {
  public:
    ApartementCom() : etat_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ApartementCom() {
        if (SUCCEEDED(etat_)) CoUninitialize();
    }
    ApartementCom(const ApartementCom&) = delete;
    ApartementCom& operator=(const ApartementCom&) = delete;

  private:
    HRESULT etat_;
};

template <class T> struct Relache {
    T* p = nullptr;
    ~Relache() {
        if (p) p->Release();
    }
};

void MontrerDossier(IFileOpenDialog* dialogue, const std::string& dossier) {
    if (dossier.empty()) return;
    Relache<IShellItem> element;
    if (SUCCEEDED(SHCreateItemFromParsingName(VersUtf16(dossier).c_str(), nullptr,
                                              IID_PPV_ARGS(&element.p))))
        dialogue->SetFolder(element.p);
}

std::optional<std::string> Choisir(HWND proprietaire, FILEOPENDIALOGOPTIONS options,
                                   const std::string& titre, const std::string& initial) {
    ApartementCom com;
    Relache<IFileOpenDialog> dialogue;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&dialogue.p))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS actuelles = 0;
    dialogue.p->GetOptions(&actuelles);
    dialogue.p->SetOptions(actuelles | options | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
    if (!titre.empty()) dialogue.p->SetTitle(VersUtf16(titre).c_str());
    MontrerDossier(dialogue.p, initial);
    if (FAILED(dialogue.p->Show(proprietaire))) return std::nullopt; // renoncé
    Relache<IShellItem> choisi;
    if (FAILED(dialogue.p->GetResult(&choisi.p))) return std::nullopt;
    PWSTR chemin = nullptr;
    if (FAILED(choisi.p->GetDisplayName(SIGDN_FILESYSPATH, &chemin))) return std::nullopt;
    std::string resultat = DepuisUtf16(chemin);
    CoTaskMemFree(chemin);
    return resultat;
}
} // namespace

std::optional<std::string> ChoisirDossierShell(HWND proprietaire, const std::string& titre,
                                               const std::string& initial) {
    return Choisir(proprietaire, FOS_PICKFOLDERS | FOS_PATHMUSTEXIST, titre, initial);
}

std::optional<std::string> ChoisirFichierShell(HWND proprietaire) {
    return Choisir(proprietaire, FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST, {}, {});
}

} // namespace emporteur::win32
