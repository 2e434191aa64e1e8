#include "fenetres-win32/InterfaceWin32.h"

#include "fenetres-win32/ChoixShell.h"
#include "fenetres-win32/DialogueIdentifiants.h"
#include "foundation/win32/Utf16.h"

#include <shellapi.h>

namespace emporteur::win32 {

namespace {
constexpr UINT WM_QUESTIONS = WM_APP + 2;
constexpr const wchar_t* kClasseGuichet = L"EmporteurGuichetQuestions";

void EnregistrerClasse(WNDPROC procedure) {
    WNDCLASSEXW classe{};
    classe.cbSize = sizeof classe;
    classe.lpfnWndProc = procedure;
    classe.hInstance = GetModuleHandleW(nullptr);
    classe.lpszClassName = kClasseGuichet;
    RegisterClassExW(&classe); // déjà là pour une seconde interface : sans effet
}

// ShellExecuteW rend une valeur au-dessus de 32 quand il a lancé quelque chose.
bool Executer(const wchar_t* verbe, const std::string& cible) {
    const auto code = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, verbe, VersUtf16(cible).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return code > 32;
}
} // namespace

InterfaceWin32::InterfaceWin32() : filInterface_(GetCurrentThreadId()) {
    EnregistrerClasse(&InterfaceWin32::ProcedureGuichet);
    // Une fenêtre de messages seulement : invisible, mais servie par toute boucle du fil.
    guichetFenetre_ = CreateWindowExW(0, kClasseGuichet, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(guichetFenetre_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    guichet_.FixerReveil(
        [fenetre = guichetFenetre_] { PostMessageW(fenetre, WM_QUESTIONS, 0, 0); });
}

InterfaceWin32::~InterfaceWin32() {
    guichet_.Refuser();
    DestroyWindow(guichetFenetre_);
}

LRESULT CALLBACK InterfaceWin32::ProcedureGuichet(HWND fenetre, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_QUESTIONS) {
        auto* ui = reinterpret_cast<InterfaceWin32*>(GetWindowLongPtrW(fenetre, GWLP_USERDATA));
        if (ui) ui->guichet_.Servir();
        return 0;
    }
    return DefWindowProcW(fenetre, message, w, l);
}

bool InterfaceWin32::SurFilInterface(const std::function<void()>& travail) {
    if (GetCurrentThreadId() == filInterface_) {
        travail();
        return true;
    }
    return guichet_.Poser(travail);
}

void InterfaceWin32::RefuserQuestionsEnAttente() {
    guichet_.Refuser();
}

Reponse InterfaceWin32::BoiteMessage(const std::string& texte, const std::string& titre,
                                     unsigned style) {
    Reponse reponse = Reponse::Annuler; // une question refusée vaut Annuler
    SurFilInterface([&] {
        reponse = static_cast<Reponse>(
            MessageBoxW(nullptr, VersUtf16(texte).c_str(), VersUtf16(titre).c_str(), style));
    });
    return reponse;
}

bool InterfaceWin32::DemanderIdentifiants(const std::string& adresse, bool mandataire,
                                          std::string& utilisateur, std::string& motDePasse) {
    bool accepte = false;
    SurFilInterface([&] {
        DialogueIdentifiants dialogue(adresse, mandataire);
        accepte = dialogue.Executer(nullptr) == IDOK;
        if (accepte) {
            utilisateur = dialogue.Utilisateur();
            motDePasse = dialogue.MotDePasse();
        }
    });
    return accepte;
}

bool InterfaceWin32::Ouvrir(const std::string& cible) {
    bool ouvert = false;
    SurFilInterface([&] { ouvert = Executer(L"open", cible); });
    return ouvert;
}

bool InterfaceWin32::Explorer(const std::string& dossier) {
    bool ouvert = false;
    SurFilInterface([&] { ouvert = Executer(L"explore", dossier); });
    return ouvert;
}

bool InterfaceWin32::ChoisirDossier(const std::string& titre, std::string& chemin) {
    std::optional<std::string> choisi;
    SurFilInterface([&] { choisi = ChoisirDossierShell(nullptr, titre, chemin); });
    if (!choisi) return false;
    chemin = *choisi;
    return true;
}

bool InterfaceWin32::MettreAuPremierPlan(const std::string& titre) {
    bool trouve = false;
    SurFilInterface([&] {
        const HWND fenetre = FindWindowW(nullptr, VersUtf16(titre).c_str());
        trouve = fenetre != nullptr;
        if (trouve) SetForegroundWindow(fenetre);
    });
    return trouve;
}

void InterfaceWin32::TerminerProcessus(int code) {
    // Le livret se ferme et le programme rend ce code ; l'appelant remonte en échec.
    code_ = code;
    SurFilInterface([this, code] {
        if (fin_)
            fin_();
        else
            PostQuitMessage(code);
    });
}

} // namespace emporteur::win32
