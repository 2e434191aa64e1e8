// La console sous Linux : les flux sont déjà des octets, le terminal se règle par termios.
#include "cli/Console.h"

#include <iostream>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace emporteur::cli {

std::vector<std::string> ArgumentsProgramme(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void PreparerConsole() {}

bool EstTerminal(std::FILE* flux) {
    return ::isatty(::fileno(flux));
}

int LargeurTerminal(std::FILE* flux) {
    winsize taille{};
    if (::ioctl(::fileno(flux), TIOCGWINSZ, &taille) == 0 && taille.ws_col > 0)
        return taille.ws_col;
    return 80;
}

bool LireLigne(std::string& ligne) {
    return static_cast<bool>(std::getline(std::cin, ligne));
}

struct EchoCoupe::Etat {
    termios avant{};
};

EchoCoupe::EchoCoupe() {
    auto etat = std::make_unique<Etat>();
    if (!::isatty(STDIN_FILENO) || ::tcgetattr(STDIN_FILENO, &etat->avant) != 0) return;
    termios sansEcho = etat->avant;
    sansEcho.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    if (::tcsetattr(STDIN_FILENO, TCSANOW, &sansEcho) == 0) etat_ = std::move(etat);
}

EchoCoupe::~EchoCoupe() {
    if (etat_) ::tcsetattr(STDIN_FILENO, TCSANOW, &etat_->avant);
}

} // namespace emporteur::cli
