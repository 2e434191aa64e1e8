#include "download/EspaceDisque.h"

#include "foundation/ConstantesWin32.h"
#include "foundation/win32/Utf16.h"

namespace emporteur {

// Le premier nombre de GetDiskFreeSpaceExW est celui de l'appelant (quotas compris).
bool EspaceDisponible(const std::string& dossier, std::uint64_t& libre, int& erreur) {
    ULARGE_INTEGER pourAppelant{};
    if (!::GetDiskFreeSpaceExW(VersUtf16(dossier).c_str(), &pourAppelant, nullptr, nullptr)) {
        erreur = static_cast<int>(::GetLastError());
        return false;
    }
    libre = pourAppelant.QuadPart;
    return true;
}

} // namespace emporteur
