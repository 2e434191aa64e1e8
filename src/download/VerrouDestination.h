#pragma once
// Une seule copie à la fois par fichier de destination : un verrou exclusif par
// fichier entier (flock ; LockFileEx sous Windows), dans un dossier de verrous de
// l'utilisateur hors du dossier de destination ($XDG_RUNTIME_DIR/emporteur, sinon
// $TMPDIR/emporteur-UID ou /tmp/emporteur-UID, 0700 ; %LOCALAPPDATA%\Emporteur\Verrous
// sous Windows). Sans aucun de ces dossiers à nous, le verrou se pose à côté du
// fichier (".NOM.verrou") ; s'il ne peut se poser nulle part, le fichier est refusé :
// jamais de téléchargement sans verrou. Le système le rend si le processus meurt.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace emporteur {

class VerrouDestination {
  public:
    VerrouDestination() = default;
    ~VerrouDestination();
    VerrouDestination(const VerrouDestination&) = delete;
    VerrouDestination& operator=(const VerrouDestination&) = delete;

    // Chemin du fichier de verrou de `dossier` + `nomLocal` : dans le dossier de
    // verrous, nommé d'après le périphérique et l'inode du dossier (le volume et
    // l'index de fichier sous Windows) et le nom du fichier ; à défaut, ".NOM.verrou"
    // dans `dossier` ; vide si le dossier de destination est introuvable.
    static std::string CheminVerrou(const std::string& dossier, const std::string& nomLocal);

    // Le nom du verrou posé à côté du fichier, abrégé pour rester un nom valable.
    static std::string NomVerrouVoisin(const std::string& nomLocal);

    // Une tentative sans attendre ; vrai seulement si le verrou est tenu.
    bool Essayer(const std::string& dossier, const std::string& nomLocal);

    // Attend le verrou en regardant `annule` tous les `pas` ; `surAttente` est appelé
    // une fois si une autre copie le tient. Faux si annulé ou si le verrou ne peut
    // pas se poser (`Impossible()` le dit).
    bool Prendre(const std::string& dossier, const std::string& nomLocal,
                 const std::atomic<bool>& annule, const std::function<void()>& surAttente,
                 std::chrono::milliseconds pas = std::chrono::milliseconds(50));

    bool EstTenu() const { return poignee_ >= 0; }
    bool Impossible() const { return impossible_; }
    void Rendre();

  private:
    // 1 tenu, 0 tenu ailleurs, -1 impossible.
    int Tenter(const std::string& dossier, const std::string& nomLocal);
    // Octets sûrs gardés, les autres en %XX, abrégé au besoin : un nom de fichier valable.
    static std::string NomEncode(const std::string& nom);
    // Descripteur ou HANDLE du fichier de verrou ; -1 sans verrou.
    std::intptr_t poignee_ = -1;
    bool impossible_ = false;
};

} // namespace emporteur
