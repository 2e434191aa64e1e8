#pragma once
// Une seule copie à la fois par fichier de destination : un verrou flock par fichier
// entier, dans un dossier de verrous de l'utilisateur hors du dossier de destination
// ($XDG_RUNTIME_DIR/emporteur, sinon /tmp/emporteur-UID, 0700). Le noyau le rend si
// le processus meurt. Le verrou est rendu à la destruction.

#include <atomic>
#include <chrono>
#include <functional>
#include <string>

namespace emporteur {

class VerrouDestination {
  public:
    VerrouDestination() = default;
    ~VerrouDestination();
    VerrouDestination(const VerrouDestination&) = delete;
    VerrouDestination& operator=(const VerrouDestination&) = delete;

    // Chemin du fichier de verrou de `dossier` + `nomLocal`, nommé d'après le
    // périphérique et l'inode du dossier et le nom du fichier ; vide si le dossier
    // de destination est introuvable ou si aucun dossier de verrous sûr n'existe.
    static std::string CheminVerrou(const std::string& dossier, const std::string& nomLocal);

    // Une tentative sans attendre ; vrai si le verrou est tenu ou si aucun verrou
    // n'est possible (rien ne se protège alors, rien ne bloque non plus).
    bool Essayer(const std::string& dossier, const std::string& nomLocal);

    // Attend le verrou en regardant `annule` tous les `pas` ; `surAttente` est appelé
    // une fois si une autre copie le tient. Faux seulement si annulé.
    bool Prendre(const std::string& dossier, const std::string& nomLocal,
                 const std::atomic<bool>& annule, const std::function<void()>& surAttente,
                 std::chrono::milliseconds pas = std::chrono::milliseconds(50));

    bool EstTenu() const { return fd_ >= 0; }
    void Rendre();

  private:
    // 1 tenu, 0 tenu ailleurs, -1 impossible.
    int Tenter(const std::string& dossier, const std::string& nomLocal);
    int fd_ = -1;
};

} // namespace emporteur
