#!/usr/bin/env bash
# Construit en Release avec les bancs d'essai et compare Crc32 à zlib et libdeflate.
set -euo pipefail
racine="$(cd "$(dirname "$0")/.." && pwd)"
construction="$racine/build-bench"
cmake -S "$racine" -B "$construction" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DEMPORTEUR_BENCH=ON -DEMPORTEUR_TESTS=OFF >/dev/null
ninja -C "$construction" -j2 bench_crc32 >/dev/null
json="$(mktemp)"
trap 'rm -f "$json"' EXIT
"$construction/bench/bench_crc32" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out="$json" --benchmark_out_format=json
python3 - "$json" <<'PY'
import json, sys
res = {b["run_name"]: b for b in json.load(open(sys.argv[1]))["benchmarks"]
       if b.get("aggregate_name") == "median"}
temps = {nom: res[nom]["real_time"] for nom in res}  # en ms
debit = {nom: 64 / 1024 / (temps[nom] / 1000) for nom in res}  # 64 Mio, temps réel
for nom in ("Emporteur", "Portable", "Zlib", "Libdeflate"):
    print(f"{nom:11s} {temps[nom]:8.2f} ms  {debit[nom]:6.2f} Gio/s")
print(f"Crc32 / zlib       : {temps['Emporteur'] / temps['Zlib']:.2f} × le temps (barre : ≤ 1)")
print(f"Crc32 / libdeflate : {temps['Emporteur'] / temps['Libdeflate']:.2f} × le temps (but : ≤ 1,25)")
print(f"Tables / zlib      : {temps['Portable'] / temps['Zlib']:.2f} × le temps")
PY
