#include "foundation/SourceOctets.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

#include <algorithm>

namespace emporteur {

namespace {
HANDLE Poignee(std::intptr_t descripteur) {
    return reinterpret_cast<HANDLE>(descripteur);
}
} // namespace

std::unique_ptr<SourceFichier> SourceFichier::Ouvrir(const std::string& chemin) {
    const std::wstring large = VersUtf16(chemin);
    if (large.empty()) return nullptr;
    // Partage total : le fichier d'un autre (l'exécutable du produit en marche) se lit.
    const HANDLE poignee = CreateFileW(large.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (poignee == INVALID_HANDLE_VALUE) return nullptr;
    // Un fichier ordinaire seulement : ni tube, ni console, ni périphérique.
    LARGE_INTEGER taille{};
    if (GetFileType(poignee) != FILE_TYPE_DISK || !GetFileSizeEx(poignee, &taille) ||
        taille.QuadPart < 0) {
        CloseHandle(poignee);
        return nullptr;
    }
    return std::unique_ptr<SourceFichier>(new SourceFichier(
        reinterpret_cast<std::intptr_t>(poignee), static_cast<std::uint64_t>(taille.QuadPart)));
}

SourceFichier::~SourceFichier() {
    CloseHandle(Poignee(descripteur_));
}

bool SourceFichier::Lire(std::uint64_t position, std::size_t taille, std::uint8_t* dest) const {
    if (!Contient(position, taille)) return false;
    std::size_t lus = 0;
    while (lus < taille) {
        // Lecture à une position donnée : la position de la poignée n'entre pas en jeu.
        OVERLAPPED ou{};
        const std::uint64_t ici = position + lus;
        ou.Offset = static_cast<DWORD>(ici);
        ou.OffsetHigh = static_cast<DWORD>(ici >> 32);
        const DWORD demande = static_cast<DWORD>(std::min<std::size_t>(taille - lus, 1u << 30));
        DWORD n = 0;
        if (!ReadFile(Poignee(descripteur_), dest + lus, demande, &n, &ou) || n == 0)
            return false; // fichier raccourci entre-temps, ou erreur
        lus += n;
    }
    return true;
}

} // namespace emporteur
