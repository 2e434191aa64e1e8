#pragma once
// Le système a-t-il une connexion ? Vrai quand une interface autre que la boucle
// locale est active et porte une adresse.

namespace emporteur {

bool ConnexionInternet();

} // namespace emporteur
