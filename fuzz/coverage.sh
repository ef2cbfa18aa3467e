#!/usr/bin/env bash
# Line and region coverage of the library reached by the fuzz corpora:
# builds the targets with clang source-based coverage into build/fuzz-cov,
# runs every corpus input once (committed seeds and what fuzz/run.sh grew)
# and prints llvm-cov's report over labelsbase/.
# Usage: fuzz/coverage.sh [target ...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang libclang-rt-14-dev llvm
out=build/fuzz-cov
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link -fprofile-instr-generate -fcoverage-mapping" \
  -DLABELSBASE_BUILD_FUZZ=ON -DLABELSBASE_BUILD_TESTS=OFF -DLABELSBASE_BUILD_CLI=OFF >/dev/null
cmake --build "$out"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
rm -rf "$out/profiles"
mkdir -p "$out/profiles"
objects=()
for t in "${targets[@]}"; do
  dirs=()
  for d in "fuzz/corpus/$t" "build/fuzz/corpus/$t"; do [ -d "$d" ] && dirs+=("$d"); done
  LLVM_PROFILE_FILE="$out/profiles/$t.profraw" \
    "$out/fuzz/$t" -runs=0 -close_fd_mask=3 "${dirs[@]}" >"$out/profiles/$t.log" 2>&1
  objects+=(-object "$out/fuzz/$t")
done
llvm-profdata merge -sparse "$out"/profiles/*.profraw -o "$out/fuzz.profdata"
# The first -object is given positionally.
llvm-cov report "${objects[1]}" "${objects[@]:2}" -instr-profile="$out/fuzz.profdata" \
  labelsbase/
