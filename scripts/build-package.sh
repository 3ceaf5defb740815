#!/usr/bin/env bash
# Builds the Debian package tamrivo_<version>_amd64.deb in build-package/ and checks it with
# lintian. Built as Debian builds its packages (build type None: dpkg-buildflags alone set the
# optimisation and hardening flags); no tests, no benchmarks.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash scripts/install-deps.sh
dir=build-package
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
    -DTAMRIVO_TESTS=OFF -DTAMRIVO_BENCH=OFF \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$dir" --parallel "$(build_jobs)"
rm -f "$dir"/tamrivo_*.deb
(cd "$dir" && cpack -G DEB >/dev/null) || fail "cpack could not make the package"
package=$(ls "$dir"/tamrivo_*_amd64.deb)
echo "tamrivo: built $package"
# lintian exits non-zero on errors only (warnings are shown).
lintian --fail-on error "$package" || fail "lintian found errors in $package"
