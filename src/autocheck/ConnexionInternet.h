#pragma once
// Le système a-t-il une connexion ? Sous Linux : vrai quand une interface autre que la
// boucle locale est active et porte une adresse. Sous Windows : la réponse de
// InternetGetConnectedState, cherchée dans wininet.dll au moment du test.
// Les appelants la reçoivent par leur constructeur (std::function<bool()>) : un test
// la remplace, wine répondant toujours « connecté ».

namespace emporteur {

bool ConnexionInternet();

} // namespace emporteur
