#pragma once
// La console selon la plateforme : arguments, flux standard, terminal, saisie sans écho.
// Implémentations dans posix/ et win32/.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace emporteur::cli {

// Les arguments qui suivent le nom du programme, en UTF-8.
std::vector<std::string> ArgumentsProgramme(int argc, char** argv);

// Les flux standard écrivent l'UTF-8 octet pour octet, sans fin de ligne ajoutée.
void PreparerConsole();

// Vrai si `flux` est un terminal où l'on peut redessiner une ligne (\r, effacement).
bool EstTerminal(std::FILE* flux);
// Colonnes du terminal de `flux` ; 80 si elles ne se lisent pas.
int LargeurTerminal(std::FILE* flux);

// Une ligne de l'entrée standard, sans sa fin de ligne (LF ou CR LF), en UTF-8 ; faux
// à la fin de l'entrée.
bool LireLigne(std::string& ligne);

// Coupe l'écho de l'entrée standard tant qu'il vit, si c'est un terminal.
class EchoCoupe {
  public:
    EchoCoupe();
    ~EchoCoupe();
    EchoCoupe(const EchoCoupe&) = delete;
    EchoCoupe& operator=(const EchoCoupe&) = delete;
    // Vrai si l'écho a été coupé (l'Entrée tapée ne sera pas renvoyée).
    bool Coupe() const { return etat_ != nullptr; }

  private:
    struct Etat;
    std::unique_ptr<Etat> etat_;
};

} // namespace emporteur::cli
