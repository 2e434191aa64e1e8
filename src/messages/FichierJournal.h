#pragma once
// Le fichier du journal des messages, partagé avec les autres processus : ouvert en
// ajout (créé s'il manque, jamais tronqué), chaque ligne y est écrite d'un seul
// tenant à la fin, sous un verrou exclusif, puis mise sur le disque. Deux copies qui
// journalisent ensemble ne mêlent jamais leurs lignes.

#include <cstdint>
#include <string>

namespace emporteur {

class FichierJournal {
  public:
    FichierJournal() = default;
    ~FichierJournal();
    FichierJournal(const FichierJournal&) = delete;
    FichierJournal& operator=(const FichierJournal&) = delete;

    bool Ouvrir(const std::string& chemin);
    bool EstOuvert() const { return poignee_ != -1; }
    // Sans effet si le fichier n'est pas ouvert ; une écriture ratée est perdue sans bruit.
    void Ajouter(const std::string& ligne);

  private:
    // Descripteur POSIX ou HANDLE, -1 fermé.
    std::intptr_t poignee_ = -1;
};

} // namespace emporteur
