#pragma once
// Guichet des questions posées depuis un autre fil que celui de l'interface : le fil
// qui pose attend que le fil de l'interface serve sa question (Servir, depuis sa boucle
// d'événements) ou la refuse (Refuser). Une question refusée n'est jamais exécutée.
// Sert à une mise en œuvre graphique de InterfaceUtilisateur (voir son en-tête).

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace emporteur {

class GuichetQuestions {
  public:
    // Exécutée sur le fil qui appelle Servir ; peut capturer par référence les
    // variables du fil qui pose, puisque celui-ci attend.
    using Question = std::function<void()>;

    // Fil qui pose : dépose la question et attend. Vrai si elle a été servie, faux si
    // elle a été refusée. Ne doit pas être appelé depuis le fil qui sert.
    bool Poser(Question question);

    // Fil de l'interface : exécute les questions en attente, dans l'ordre, hors verrou ;
    // rend leur nombre. Une question en cours d'exécution finit normalement.
    std::size_t Servir();

    // N'importe quel fil : refuse les questions en attente ; rend leur nombre.
    std::size_t Refuser();

    // Nombre de questions déposées, ni servies ni refusées.
    std::size_t EnAttente() const;

    // Appelé par Poser après chaque dépôt, hors verrou : réveille le fil de l'interface
    // (un appel différé dans sa boucle d'événements, par exemple).
    void FixerReveil(std::function<void()> reveil);

  private:
    enum class Issue { Attente, Servie, Refusee };
    struct Depot {
        Question question;
        Issue issue = Issue::Attente;
    };

    mutable std::mutex verrou_;
    std::condition_variable fin_;
    std::deque<std::shared_ptr<Depot>> file_;
    std::function<void()> reveil_;
};

} // namespace emporteur
