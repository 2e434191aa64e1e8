#include "http/win32/ErreursWinInet.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <wininet.h>

namespace emporteur {

namespace {
// Le texte que wininet.dll donne de ses codes, sans la fin de ligne ; vide s'il n'en a pas.
std::string TexteDuSysteme(std::uint32_t code) {
    wchar_t* texte = nullptr;
    const DWORD drapeaux = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                           FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE;
    const DWORD n = FormatMessageW(drapeaux, GetModuleHandleW(L"wininet.dll"), code, 0,
                                   reinterpret_cast<wchar_t*>(&texte), 0, nullptr);
    std::wstring s(texte ? texte : L"", n);
    if (texte) LocalFree(texte);
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' '))
        s.pop_back();
    return DepuisUtf16(s);
}
} // namespace

std::string DecrireErreurWinInet(std::uint32_t code, bool parMandataire) {
    switch (code) {
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
        return parMandataire ? "Le nom du serveur mandataire n'a pas pu être résolu."
                             : "Le nom du serveur n'a pas pu être résolu.";
    case ERROR_INTERNET_CANNOT_CONNECT:
        return "La connexion avec le serveur n'a pas pu être établie.";
    case ERROR_INTERNET_TIMEOUT:
    case WSAETIMEDOUT: // wine le laisse passer tel quel
        return "Le délai d'attente de l'opération a expiré.";
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_INTERNET_CONNECTION_ABORTED:
        return "La connexion avec le serveur a été réinitialisée.";
    case ERROR_HTTP_INVALID_SERVER_RESPONSE:
    case ERROR_HTTP_INVALID_HEADER:
        return "Le serveur a envoyé une réponse non valide.";
    case ERROR_INTERNET_INVALID_URL:
    case ERROR_INTERNET_UNRECOGNIZED_SCHEME:
        return "L'adresse du serveur n'est pas valide.";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return "Mémoire insuffisante.";
    case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
        return "La connexion sécurisée avec le serveur a échoué.";
    default:
        break;
    }
    if (EstErreurCertificatWinInet(code))
        return "Le certificat de sécurité du serveur n'est pas valide.";
    const std::string texte = TexteDuSysteme(code);
    return texte.empty() ? "Erreur de WinINet " + std::to_string(code) + "." : texte;
}

bool EstErreurCertificatWinInet(std::uint32_t code) {
    switch (code) {
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
        return true;
    default:
        return false;
    }
}

} // namespace emporteur
