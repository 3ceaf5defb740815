#!/usr/bin/env bash
# Builds Tamrivo and runs every test inside a root of another Debian release (default trixie,
# Debian 13), made with debootstrap and kept between runs with its compiler cache. The build
# directory is build-<release>/ in this checkout, built as the release's package is, so that
# scripts/build-package.sh packs the very build the tests passed on. The host's SQLCipher 3 goes into the root
# beside that release's own library, so the records are proven to move between the two.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/release-root.sh"

use_release_root "${1:-trixie}"
phase_start=$SECONDS
phase() {
    echo "tamrivo: $release: $1 took $((SECONDS - phase_start)) s"
    phase_start=$SECONDS
}

make_root
install_root_packages
phase "making the root and installing its packages"

# The other SQLCipher: the host's libsqlcipher.so.0 where the root has only its successor.
other_library=$(ldconfig -p | sed -n 's/^\s*libsqlcipher\.so\.0 (.*x86-64.*) => //p' | head -1)
library_options=()
if [ -n "$other_library" ] && [ ! -e "$root/usr/lib/x86_64-linux-gnu/libsqlcipher.so.0" ]; then
    mkdir -p "$root/opt/sqlcipher3"
    cp "$(readlink -f "$other_library")" "$root/opt/sqlcipher3/libsqlcipher.so.0"
    library_options=(-DTAMRIVO_SQLCIPHER3_LIBRARY=/opt/sqlcipher3/libsqlcipher.so.0)
else
    echo "tamrivo: the host has no SQLCipher 3 for the $release root: records moving between" \
        "SQLCipher 3 and 4 go untested"
fi

enter_root
build_in_root -DTAMRIVO_TESTS=ON "${library_options[@]}"
build=build-$release
phase "building"
in_root env QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$build" --output-on-failure --parallel "$(build_jobs)" --timeout 300 \
    || fail "tests failed in the $release root"
phase "testing"
echo "tamrivo: every test passed in the $release root"
