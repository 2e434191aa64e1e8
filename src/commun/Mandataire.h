#pragma once
// Le mandataire du système : son nom, son port et ses identifiants, lus pour le
// dialogue, le transport et les messages. Sous Linux, l'environnement (http_proxy et
// ses voisins) ; sous Windows, la valeur ProxyServer des réglages Internet de
// l'utilisateur (activée par ProxyEnable), qui ne porte pas d'identifiants.

#include <cstdint>
#include <string>

namespace emporteur {

// Réglage de mandataire du système : http_proxy sans son schéma, ses identifiants ni
// sa barre finale, absent si la variable n'existe pas ; sous Windows, ProxyServer tel
// quel (vide s'il manque), absent si la clé des réglages ne s'ouvre pas.
bool LireProxySysteme(std::string& reglage);

// Un mandataire écrit "[schéma://][utilisateur[:mot de passe]@]serveur[:port][/]" ;
// les identifiants sont décodés des %XX. Port : 0 s'il n'est pas écrit.
struct MandataireDecrit {
    std::string Utilisateur, MotDePasse, Serveur;
    std::int32_t Port = 0;
};
// Faux si le serveur est vide ou le port illisible.
bool DecrireMandataire(const std::string& texte, MandataireDecrit& decrit);

// Identifiants que http_proxy donne pour ce serveur et ce port (le dialogue n'en
// montre que le nom) ; faux s'il n'en donne pas.
bool IdentifiantsDuSysteme(const std::string& serveur, std::int32_t port, std::string& utilisateur,
                           std::string& motDePasse);

// Mandataire que l'accès direct prend du système pour cette adresse, sans ses
// identifiants ("http://cache:3128") ; vide s'il n'y en a pas. Sert aux messages.
std::string MandataireImplicite(const std::string& adresse);

} // namespace emporteur
