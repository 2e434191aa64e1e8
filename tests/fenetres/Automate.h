#pragma once
// Répond aux fenêtres modales qui s'ouvrent pendant un test, comme le ferait une
// personne : chaque réponse attendue reconnaît sa fenêtre puis agit dessus. Une
// fenêtre modale inattendue est notée et fermée, pour que le test ne reste jamais
// suspendu.

#include "foundation/InterfaceUtilisateur.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace emporteur::test {

class Automate : public QObject {
    Q_OBJECT
  public:
    using Reconnaitre = std::function<bool(QWidget*)>;
    using Agir = std::function<void(QWidget*)>;

    Automate();

    // La prochaine fenêtre modale doit être reconnue par `reconnaitre`.
    void Quand(Reconnaitre reconnaitre, Agir agir);
    // Raccourci : une boîte de message dont le texte contient `extrait`, fermée par le
    // bouton `identifiant` (IDOK, IDYES…).
    void RepondreBoite(const QString& extrait, Reponse identifiant);

    // Titres ou textes des fenêtres modales vues, dans l'ordre.
    const std::vector<QString>& Vues() const { return vues_; }
    const std::vector<QString>& Inattendues() const { return inattendues_; }
    std::size_t EnAttente() const { return attentes_.size(); }

  private:
    void Examiner();

    struct Attente {
        Reconnaitre reconnaitre;
        Agir agir;
    };
    std::deque<Attente> attentes_;
    std::vector<QString> vues_, inattendues_;
    QPointer<QWidget> traitee_;
    QTimer minuterie_;
};

// Le texte d'une boîte de message (vide pour une autre fenêtre).
QString TexteBoite(QWidget* fenetre);

// Traite les événements jusqu'à ce que `condition` soit vraie ; faux après `ms`.
bool Attendre(const std::function<bool()>& condition, int ms = 10000);

} // namespace emporteur::test
