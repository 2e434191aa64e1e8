#include "foundation/GuichetQuestions.h"

namespace emporteur {

bool GuichetQuestions::Poser(Question question) {
    auto depot = std::make_shared<Depot>();
    depot->question = std::move(question);
    std::function<void()> reveil;
    {
        std::lock_guard verrou(verrou_);
        file_.push_back(depot);
        reveil = reveil_;
    }
    if (reveil) reveil();
    std::unique_lock verrou(verrou_);
    fin_.wait(verrou, [&] { return depot->issue != Issue::Attente; });
    return depot->issue == Issue::Servie;
}

std::size_t GuichetQuestions::Servir() {
    std::size_t servies = 0;
    for (;;) {
        std::shared_ptr<Depot> depot;
        {
            std::lock_guard verrou(verrou_);
            if (file_.empty()) return servies;
            depot = std::move(file_.front());
            file_.pop_front();
        }
        // Hors verrou : la question ouvre une boîte modale, pendant laquelle d'autres
        // questions peuvent arriver ou être refusées.
        // Une question qui lève n'a pas de réponse : son auteur la reçoit refusée.
        bool servie = true;
        try {
            depot->question();
        } catch (...) {
            servie = false;
        }
        {
            std::lock_guard verrou(verrou_);
            depot->issue = servie ? Issue::Servie : Issue::Refusee;
        }
        fin_.notify_all();
        servies += servie;
    }
}

std::size_t GuichetQuestions::Refuser() {
    std::size_t refusees = 0;
    {
        std::lock_guard verrou(verrou_);
        for (auto& depot : file_)
            depot->issue = Issue::Refusee;
        refusees = file_.size();
        file_.clear();
    }
    fin_.notify_all();
    return refusees;
}

std::size_t GuichetQuestions::EnAttente() const {
    std::lock_guard verrou(verrou_);
    return file_.size();
}

void GuichetQuestions::FixerReveil(std::function<void()> reveil) {
    std::lock_guard verrou(verrou_);
    reveil_ = std::move(reveil);
}

} // namespace emporteur
