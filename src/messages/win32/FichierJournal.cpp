#include "messages/FichierJournal.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

namespace emporteur {

namespace {
HANDLE Poignee(std::intptr_t p) {
    return reinterpret_cast<HANDLE>(p);
}

// Les verrous de Windows sont obligatoires : verrouiller des octets du fichier
// empêcherait les autres de le lire. L'octet verrouillé est donc loin après toute
// fin réelle ; il ne sert que d'exclusion entre les copies.
OVERLAPPED OctetDeVerrou() {
    OVERLAPPED zone{};
    zone.OffsetHigh = 0x7FFFFFFF;
    return zone;
}
} // namespace

FichierJournal::~FichierJournal() {
    if (EstOuvert()) ::CloseHandle(Poignee(poignee_));
}

// FILE_APPEND_DATA sans FILE_WRITE_DATA : chaque écriture va à la fin du fichier,
// quoi qu'aient écrit les autres. La lecture est demandée pour LockFileEx.
bool FichierJournal::Ouvrir(const std::string& chemin) {
    const HANDLE h = ::CreateFileW(VersUtf16(chemin).c_str(), GENERIC_READ | FILE_APPEND_DATA,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    poignee_ = reinterpret_cast<std::intptr_t>(h); // INVALID_HANDLE_VALUE vaut -1
    return EstOuvert();
}

void FichierJournal::Ajouter(const std::string& ligne) {
    if (!EstOuvert()) return;
    const HANDLE h = Poignee(poignee_);
    OVERLAPPED verrou = OctetDeVerrou();
    if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &verrou)) return;
    DWORD ecrit = 0;
    ::WriteFile(h, ligne.data(), static_cast<DWORD>(ligne.size()), &ecrit, nullptr);
    ::FlushFileBuffers(h);
    OVERLAPPED rendu = OctetDeVerrou();
    ::UnlockFileEx(h, 0, 1, 0, &rendu);
}

} // namespace emporteur
