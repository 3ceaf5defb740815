#!/usr/bin/env bash
# Builds the Debian package of each release named (default: bookworm and trixie, Debian 12
# and 13) inside a root of that release, with its compiler and libraries, as Debian builds its
# own: build-package/tamrivo_<version>~deb<N>_amd64.deb, checked with that release's lintian.
# The root and its compiler cache are kept between runs (see release-root.sh); the build is
# build-<release>/, the one scripts/test-in-root.sh tests, reused when it is there.
# The vendor's settings (version, update host, keys, the apt repository's address) come from
# variables of their names: see build_in_root in release-root.sh.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/release-root.sh"

releases=("$@")
[ ${#releases[@]} -gt 0 ] || releases=(bookworm trixie)
mkdir -p build-package

package_release() {
    use_release_root "$1"
    make_root
    install_root_packages
    enter_root
    # A first build here needs no tests; a build the tests made keeps them.
    local tests=()
    [ -e "build-$release/CMakeCache.txt" ] || tests=(-DTAMRIVO_TESTS=OFF)
    build_in_root "${tests[@]}"
    rm -f "build-$release"/tamrivo_*.deb
    in_root sh -c "cd build-$release && cpack -G DEB >/dev/null" \
        || fail "cpack could not make the $release package"
    local package
    package=$(ls "build-$release"/tamrivo_*_amd64.deb)
    # lintian exits non-zero on errors only (warnings are shown).
    in_root lintian --fail-on error "$package" || fail "lintian found errors in the $release package"
    mv "$package" build-package/
    echo "tamrivo: built build-package/${package##*/}"
}

for release in "${releases[@]}"; do
    (package_release "$release")
done
