#pragma once
// Le test de connexion de Windows, la bibliothèque et la fonction données : sans la
// bibliothèque ou sans la fonction, pas de connexion. ConnexionInternet() l'appelle
// avec "wininet.dll" et "InternetGetConnectedState".

namespace emporteur {

bool ConnexionSelon(const wchar_t* bibliotheque, const char* fonction);

} // namespace emporteur
