#pragma once
// emporteur-cli.exe lancé sous wine par la suite Linux, et ce qu'il faut pour comparer
// ce qu'il écrit à ce qu'écrit emporteur-cli de la même construction Linux.

#include "outils/Processus.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace emporteur::test {

// Vrai quand un lanceur (wine) précède le programme ; faux quand la suite est éprouvée
// sur un programme Linux lancé tel quel.
bool SousWine();

// Ce que wine exige pour que la suite tienne, ou vide : un préfixe à soi (sans lui, wine
// en créerait un neuf dans le HOME isolé de chaque test).
std::string ManqueAWine();

// emporteur-cli.exe avec ces arguments, ses sorties et son code.
ResultatProcessus ExecuterWindows(const std::vector<std::string>& arguments,
                                  const std::map<std::string, std::string>& environnement = {});

// Le chemin tel qu'un programme Windows l'écrit : « Z:\dossier\… » sous wine (la lettre Z:
// montre /), inchangé sans lanceur.
std::string CheminZ(const std::string& unix);

enum class Construction { Linux, Windows };

// emporteur-cli de l'une ou l'autre construction lancé à part, pour l'interrompre en
// cours de route ; sorties dans des fichiers.
class EnfantCli {
  public:
    EnfantCli(Construction construction, const std::vector<std::string>& arguments,
              const std::string& sortie, const std::string& erreurs);
    ~EnfantCli();
    EnfantCli(const EnfantCli&) = delete;
    EnfantCli& operator=(const EnfantCli&) = delete;

    bool Lance() const { return pid_ > 0; }
    // kill -9 du processus Unix, qui est le processus Windows lui-même (wine se remplace
    // par le programme), puis attente de sa fin.
    void Tuer();
    // Sous wine, SIGINT arrive au programme comme Ctrl-C (CTRL_C_EVENT) ; SIGTERM et
    // SIGHUP le tuent sans qu'il le voie, comme TerminateProcess.
    void Signaler(int signal) const;
    // Code de sortie s'il a fini, sans attendre.
    std::optional<int> Fini();
    // Code de sortie, ou nullopt s'il n'a pas fini dans le délai.
    std::optional<int> Attendre(std::chrono::seconds delai);

  private:
    pid_t pid_ = -1;
    bool fini_ = false;
    int code_ = -1;
};

// Options qui effacent ce qui varie d'une exécution à l'autre sans rien dire du programme.
struct Normalisation {
    // Chemins remplacés par « <DEST> » (chemin Unix, forme « Z:\… »).
    std::vector<std::string> chemins;
    // Texte et numéro d'étape d'une erreur de transport : ceux de libcurl et de WinINet
    // diffèrent par nature.
    bool detailTransport = false;
};

// Lignes d'une sortie sans CR (la console Windows écrit CR LF), durées et chemins remplacés.
std::vector<std::string> Lignes(const std::string& texte, const Normalisation& n = {});

} // namespace emporteur::test
