#include "download/AttenteReprise.h"

#include <algorithm>
#include <thread>

namespace emporteur {

std::chrono::milliseconds DelaiReprise(int echecs, std::int32_t attenteServeur, double alea) {
    using namespace std::chrono;
    if (attenteServeur >= 0)
        return std::min<milliseconds>(seconds(attenteServeur), kAttenteServeurMax);
    const milliseconds base = seconds(std::clamp(echecs, 1, 2));
    const double part = std::clamp(alea, 0.0, 1.0) / 4;
    return base + milliseconds(static_cast<std::int64_t>(static_cast<double>(base.count()) * part));
}

bool AttendreApres(const ResultatTransfert& r) {
    return r.Code == CodeTransfert::Reprendre && r.Statut != 401 && r.Statut != 407;
}

bool SommeilAnnulable(std::chrono::milliseconds duree, const std::atomic<bool>& annule) {
    const auto fin = std::chrono::steady_clock::now() + duree;
    while (!annule.load()) {
        const auto reste = fin - std::chrono::steady_clock::now();
        if (reste <= std::chrono::steady_clock::duration::zero()) return true;
        std::this_thread::sleep_for(
            std::min<std::chrono::steady_clock::duration>(reste, std::chrono::milliseconds(10)));
    }
    return false;
}

} // namespace emporteur
