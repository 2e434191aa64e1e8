// La console sous Windows : arguments en UTF-16 convertis, flux en mode binaire (les
// octets UTF-8 passent tels quels, sans CR ajouté), console réglée sur UTF-8.
#include "cli/Console.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <shellapi.h>

namespace emporteur::cli {

namespace {
HANDLE Poignee(std::FILE* flux) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(flux)));
}

// Une console : « effacer la ligne » ne s'y interprète qu'en mode terminal virtuel, et
// chaque écriture doit porter des caractères UTF-8 entiers. Sans tampon, la bibliothèque
// C de wine écrit octet par octet et la console décode chaque octet seul (mesuré : « é »
// devient deux U+FFFD) : un tampon fait de chaque fflush une seule écriture.
void PreparerFluxConsole(std::FILE* flux) {
    DWORD mode = 0;
    if (!GetConsoleMode(Poignee(flux), &mode)) return;
    SetConsoleMode(Poignee(flux), mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    std::setvbuf(flux, nullptr, _IOFBF, 1 << 16);
}
} // namespace

// argv de mingw est dans la page de code ANSI : un nom accentué y perdrait ses lettres.
std::vector<std::string> ArgumentsProgramme(int argc, char** argv) {
    int n = 0;
    LPWSTR* larges = CommandLineToArgvW(GetCommandLineW(), &n);
    if (!larges) return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < n; ++i)
        args.push_back(DepuisUtf16(larges[i]));
    LocalFree(larges);
    return args;
}

void PreparerConsole() {
    // Sans cela, le mode texte de la bibliothèque C change chaque LF en CR LF, même
    // dans un tube ; la console, elle, passe d'elle-même à la ligne sur LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
    PreparerFluxConsole(stdout);
    PreparerFluxConsole(stderr);
}

bool EstTerminal(std::FILE* flux) {
    DWORD mode = 0;
    if (!GetConsoleMode(Poignee(flux), &mode)) return false;
    // Une console d'entrée est un terminal ; une de sortie doit savoir redessiner.
    return flux == stdin || (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

int LargeurTerminal(std::FILE* flux) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(Poignee(flux), &info)) {
        const int colonnes = info.srWindow.Right - info.srWindow.Left + 1;
        if (colonnes > 0) return colonnes;
    }
    return 80;
}

// Une console se lit en UTF-16 : ReadFile y perd les caractères non ASCII, quelle que
// soit la page de code. Un tube ou un fichier donne ses octets tels quels.
bool LireLigne(std::string& ligne) {
    const HANDLE entree = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (!GetConsoleMode(entree, &mode)) {
        if (!std::getline(std::cin, ligne)) return false;
        if (!ligne.empty() && ligne.back() == '\r') ligne.pop_back();
        return true;
    }
    std::wstring large;
    wchar_t c = 0;
    DWORD lus = 0;
    bool lu = false;
    while (ReadConsoleW(entree, &c, 1, &lus, nullptr) && lus == 1) {
        lu = true;
        if (c == L'\n') break;
        if (c != L'\r') large += c;
    }
    ligne = DepuisUtf16(large);
    return lu;
}

struct EchoCoupe::Etat {
    DWORD avant = 0;
};

EchoCoupe::EchoCoupe() {
    auto etat = std::make_unique<Etat>();
    const HANDLE entree = GetStdHandle(STD_INPUT_HANDLE);
    if (!GetConsoleMode(entree, &etat->avant)) return;
    if (SetConsoleMode(entree, etat->avant & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)))
        etat_ = std::move(etat);
}

EchoCoupe::~EchoCoupe() {
    if (etat_) SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), etat_->avant);
}

} // namespace emporteur::cli
