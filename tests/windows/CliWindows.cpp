#include "windows/CliWindows.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <regex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace emporteur::test {

namespace {

// wine lit les arguments et l'environnement dans la page de code de la locale Unix :
// sous C, « É » arrive abîmé. Ses propres messages iraient sur la sortie d'erreur, mêlés
// au journal.
const std::map<std::string, std::string>& EnvironnementWine() {
    static const std::map<std::string, std::string> e{{"LC_ALL", "C.UTF-8"},
                                                      {"WINEDEBUG", "-all"}};
    return e;
}

std::map<std::string, std::string> Complete(std::map<std::string, std::string> environnement) {
    if (SousWine())
        for (const auto& [nom, valeur] : EnvironnementWine())
            environnement.emplace(nom, valeur);
    return environnement;
}

// argv : pour Windows, le lanceur, s'il y en a un, puis le programme ; ses arguments.
std::vector<std::string> LigneDeCommande(const std::vector<std::string>& arguments,
                                         bool windows = true) {
    std::vector<std::string> tous;
    if (windows && SousWine()) tous.emplace_back(EMPORTEUR_LANCEUR_WINDOWS);
    tous.emplace_back(windows ? EMPORTEUR_CLI_WINDOWS : EMPORTEUR_CLI);
    tous.insert(tous.end(), arguments.begin(), arguments.end());
    return tous;
}

std::string Remplacer(std::string texte, const std::string& motif, const std::string& par) {
    if (motif.empty()) return texte;
    for (auto p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + par.size()))
        texte.replace(p, motif.size(), par);
    return texte;
}

} // namespace

bool SousWine() { return !std::string(EMPORTEUR_LANCEUR_WINDOWS).empty(); }

std::string ManqueAWine() {
    if (!SousWine()) return {};
    const char* prefixe = std::getenv("WINEPREFIX");
    if (!prefixe || !*prefixe)
        return "WINEPREFIX absent : lancer par scripts/tests-windows.sh, ou exporter le "
               "WINEPREFIX et le TMPDIR qu'il prépare";
    return {};
}

ResultatProcessus ExecuterWindows(const std::vector<std::string>& arguments,
                                  const std::map<std::string, std::string>& environnement) {
    auto tous = LigneDeCommande(arguments);
    const std::string programme = tous.front();
    tous.erase(tous.begin());
    return Executer(programme, tous, Complete(environnement));
}

std::string CheminZ(const std::string& unix) {
    if (!SousWine()) return unix;
    std::string z = "Z:" + unix;
    for (char& c : z)
        if (c == '/') c = '\\';
    return z;
}

EnfantCli::EnfantCli(Construction construction, const std::vector<std::string>& arguments,
                     const std::string& sortie, const std::string& erreurs) {
    const bool windows = construction == Construction::Windows;
    const auto ajouts = windows ? Complete({}) : std::map<std::string, std::string>{};
    std::vector<std::string> variables;
    for (char** v = environ; *v; ++v) {
        const std::string s = *v;
        if (!ajouts.contains(s.substr(0, s.find('=')))) variables.push_back(s);
    }
    for (const auto& [nom, valeur] : ajouts)
        variables.push_back(nom + "=" + valeur);
    auto tous = LigneDeCommande(arguments, windows);
    std::vector<char*> argv, envp;
    for (auto& a : tous)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, sortie.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, erreurs.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
}

EnfantCli::~EnfantCli() { Tuer(); }

void EnfantCli::Tuer() {
    if (pid_ <= 0 || fini_) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    fini_ = true;
}

void EnfantCli::Signaler(int signal) const {
    if (pid_ > 0 && !fini_) ::kill(pid_, signal);
}

std::optional<int> EnfantCli::Attendre(std::chrono::seconds delai) {
    const auto limite = std::chrono::steady_clock::now() + delai;
    while (!Fini() && std::chrono::steady_clock::now() < limite)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Fini();
}

std::optional<int> EnfantCli::Fini() {
    int etat = 0;
    if (pid_ > 0 && !fini_ && ::waitpid(pid_, &etat, WNOHANG) == pid_) {
        fini_ = true;
        code_ = WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
    }
    return fini_ ? std::optional<int>(code_) : std::nullopt;
}

std::vector<std::string> Lignes(const std::string& texte, const Normalisation& n) {
    std::string t;
    for (char c : texte)
        if (c != '\r') t += c;
    for (const auto& chemin : n.chemins)
        t = Remplacer(t, chemin, "<DEST>");
    static const std::regex duree("[0-9]+,[0-9] s\\b");
    t = std::regex_replace(t, duree, "<DUREE>");
    if (n.detailTransport) {
        static const std::regex detail(": \"[^\"\n]*\" code = [0-9]+\\.");
        t = std::regex_replace(t, detail, ": <DETAIL>.");
    }
    std::vector<std::string> lignes;
    for (std::size_t debut = 0; debut < t.size();) {
        const auto fin = t.find('\n', debut);
        lignes.push_back(t.substr(debut, fin - debut));
        if (fin == std::string::npos) break;
        debut = fin + 1;
    }
    return lignes;
}

} // namespace emporteur::test
