#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a few seconds.
# Usage: tools/run-fuzz.sh SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3}; shift || true
command -v clang++ >/dev/null || { echo "clang++ missing: fuzz targets skipped"; exit 0; }
cmake -S . -B build-fuzz -G Ninja -DQ2_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j2 --target fuzz_all
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find build-fuzz/fuzz -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort)
else
  for i in "${!targets[@]}"; do targets[$i]=$(basename "${targets[$i]}"); done
fi
for t in "${targets[@]}"; do
  name=$(basename "$t")
  corpus="fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/ 2>/dev/null || true
  echo "fuzz: $name for ${seconds}s"
  mkdir -p build-fuzz/artifacts
  "build-fuzz/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=4096 \
    -artifact_prefix=build-fuzz/artifacts/ "$work" 2>"$work.log" \
    || { tail -50 "$work.log"; exit 1; }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work.log")
  cov=$(grep -oE 'cov: [0-9]+' "$work.log" | tail -1 || true)
  echo "fuzz: $name ${runs:-?} executions, ${cov:-cov: ?} from $(ls "$corpus" 2>/dev/null | wc -l) seeds"
  rm -rf "$work" "$work.log"
done
