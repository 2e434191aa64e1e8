#pragma once
// Un vrai serveur lancé en processus enfant pour un test : port libre sur 127.0.0.1,
// attente bornée qu'il accepte, arrêt (SIGTERM puis SIGKILL) à la destruction.

#include <string>
#include <sys/types.h>
#include <vector>

namespace emporteur::test {

// Un port TCP libre de 127.0.0.1 à l'instant de l'appel.
int PortLibre();

class ProcessusServeur {
  public:
    // Lance `programme` avec `arguments` ; sorties dans `journal`. Lève si le
    // programme n'accepte pas de connexion sur `port` dans les 10 s.
    ProcessusServeur(const std::string& programme, const std::vector<std::string>& arguments,
                     int port, const std::string& journal);
    ~ProcessusServeur();
    ProcessusServeur(const ProcessusServeur&) = delete;
    ProcessusServeur& operator=(const ProcessusServeur&) = delete;

  private:
    void Arreter();
    pid_t pid_ = -1;
};

// Vrai si une connexion TCP vers 127.0.0.1:port aboutit.
bool Accepte(int port);

} // namespace emporteur::test
