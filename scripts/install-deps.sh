#!/usr/bin/env bash
# Installs the Debian packages Tamrivo needs to build, run and test; skips what is there.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev fonts-wqy-microhei
    libsqlcipher-dev sqlcipher libssl-dev
    libcurl4-openssl-dev duktape-dev libzip-dev
    libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev curl nginx
    qt6-translations-l10n
    librsvg2-bin dpkg-dev file lintian appstream desktop-file-utils
    xvfb xdotool debootstrap poppler-utils
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "tamrivo: all packages present"
    exit 0
fi
echo "tamrivo: installing ${missing[*]}"
as_root apt-get update -qq || fail "apt-get update failed: is the package archive reachable?"
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    || fail "could not install: ${missing[*]}"
