#include "http/posix/ErreursCurl.h"

namespace emporteur {

std::string DecrireErreurCurl(CURLcode code) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return "Le nom du serveur n'a pas pu être résolu.";
    case CURLE_COULDNT_RESOLVE_PROXY:
        return "Le nom du serveur mandataire n'a pas pu être résolu.";
    case CURLE_COULDNT_CONNECT:
        return "La connexion avec le serveur n'a pas pu être établie.";
    case CURLE_OPERATION_TIMEDOUT:
        return "Le délai d'attente de l'opération a expiré.";
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return "La connexion avec le serveur a été réinitialisée.";
    case CURLE_PARTIAL_FILE:
        return "La connexion a été coupée avant la fin des données.";
    case CURLE_WEIRD_SERVER_REPLY:
        return "Le serveur a envoyé une réponse non valide.";
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return "L'adresse du serveur n'est pas valide.";
    case CURLE_TOO_MANY_REDIRECTS:
        return "Le serveur a renvoyé vers trop d'adresses successives.";
    case CURLE_OUT_OF_MEMORY:
        return "Mémoire insuffisante.";
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_SHUTDOWN_FAILED:
        return "La connexion sécurisée avec le serveur a échoué.";
    case CURLE_SSL_CACERT_BADFILE:
        return "Le fichier des autorités de certification est illisible.";
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CRL_BADFILE:
        return "Le certificat de sécurité du serveur n'est pas valide.";
    default:
        return curl_easy_strerror(code);
    }
}

bool EstErreurCertificat(CURLcode code) {
    switch (code) {
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return true;
    default:
        return false;
    }
}

} // namespace emporteur
