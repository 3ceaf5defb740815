#!/usr/bin/env bash
# Builds Tamrivo twice (plain, then with AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs every test in both builds.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash scripts/install-deps.sh

build_and_test() {
    local dir=$1; shift
    echo "tamrivo: building in $dir"
    cmake -S . -B "$dir" -G Ninja "${compiler_cache[@]}" "$@" >/dev/null
    cmake --build "$dir" --parallel "$(build_jobs)"
    echo "tamrivo: testing in $dir"
    (cd "$dir" && ctest --output-on-failure --parallel "$(build_jobs)" --timeout 300)
}

export QT_QPA_PLATFORM=offscreen
use_compiler_cache
build_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DTAMRIVO_SANITIZE=ON -DTAMRIVO_BENCH=OFF
echo "tamrivo: all tests passed"
