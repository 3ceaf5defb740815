#!/usr/bin/env bash
# Builds Tamrivo, creates the demo database beside it when there is none, and starts it.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash scripts/install-deps.sh
use_compiler_cache
cmake -S . -B build -G Ninja "${compiler_cache[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAMRIVO_TESTS=OFF -DTAMRIVO_BENCH=OFF >/dev/null
cmake --build build --parallel "$(build_jobs)"

[ -x build/tamrivo ] || fail "the program is not built yet (no build/tamrivo)"
if [ ! -e build/Data/Data.db ]; then
    build/tamrivo-records create --demo || fail "could not create the demo database"
fi
exec build/tamrivo
