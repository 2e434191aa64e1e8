// Débit de Crc32 (voie choisie à l'exécution et voie par tables) face à zlib et
// libdeflate, sur un tampon de 64 Mio.
#include "download/Crc32.h"

#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <random>
#include <vector>
#include <zlib.h>

namespace {

const std::vector<unsigned char>& Donnees() {
    static const std::vector<unsigned char> donnees = [] {
        std::vector<unsigned char> v(64u << 20);
        std::mt19937_64 g(42);
        for (auto& c : v)
            c = static_cast<unsigned char>(g());
        return v;
    }();
    return donnees;
}

template <typename F> void Mesurer(benchmark::State& etat, F crc) {
    const auto& d = Donnees();
    for (auto _ : etat)
        benchmark::DoNotOptimize(crc(d.data(), d.size()));
    etat.SetBytesProcessed(static_cast<std::int64_t>(etat.iterations()) *
                           static_cast<std::int64_t>(d.size()));
}

void Emporteur(benchmark::State& etat) {
    Mesurer(etat, [](const unsigned char* p, std::size_t n) { return emporteur::Crc32(0, p, n); });
}
void Portable(benchmark::State& etat) {
    Mesurer(etat, [](const unsigned char* p, std::size_t n) {
        return emporteur::Crc32Portable(0, p, n);
    });
}
void Zlib(benchmark::State& etat) {
    Mesurer(etat, [](const unsigned char* p, std::size_t n) { return ::crc32_z(0, p, n); });
}
void Libdeflate(benchmark::State& etat) {
    Mesurer(etat, [](const unsigned char* p, std::size_t n) { return libdeflate_crc32(0, p, n); });
}

} // namespace

BENCHMARK(Emporteur)->Unit(benchmark::kMillisecond);
BENCHMARK(Portable)->Unit(benchmark::kMillisecond);
BENCHMARK(Zlib)->Unit(benchmark::kMillisecond);
BENCHMARK(Libdeflate)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
