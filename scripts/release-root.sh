# Shared by the scripts that build or test inside a root of a Debian release: makes the root
# with debootstrap once and keeps it where the machine keeps caches, installs the packages of
# packages.sh there, and enters it with /proc, /dev and /tmp bound and this checkout at /src.
# Source after common.sh; call use_release_root CODENAME first.

mirror=$(sed -n 's/^URIs: *\(http[^ ]*debian\)$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1)
mirror=${mirror:-http://deb.debian.org/debian}
roots=${TAMRIVO_ROOTS:-/var/cache/tamrivo/roots}
# Extra packages of the root: a compiler cache kept outside it, between runs.
root_packages=(ccache)

# Sets $release and $root, and holds the root's lock until the script ends, so two runs on
# the machine never share a root at the same time.
use_release_root() {
    release=$1
    root=$roots/$release
    mkdir -p "$roots"
    exec 9>"$roots/$release.lock"
    flock 9
    trap 'leave_root' EXIT
}

make_root() {
    [ -e "$root/etc/debian_version" ] && return 0
    rm -rf "$root.partial"
    debootstrap --variant=minbase "$release" "$root.partial" "$mirror" >/dev/null \
        || fail "debootstrap could not make a $release root from $mirror"
    mv "$root.partial" "$root"
}

install_root_packages() {
    source "$(dirname "${BASH_SOURCE[0]}")/packages.sh"
    local missing=() package status provided
    # A name may be virtual in one release (Debian 13's qt6-base-dev provides
    # libqt6opengl6-dev): an installed package that provides it is enough.
    provided=$(chroot "$root" dpkg-query -W -f='${Provides}\n' 2>/dev/null || true)
    for package in "${packages[@]}" "${root_packages[@]}"; do
        status=$(chroot "$root" dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [ "$status" = "install ok installed" ] \
            || grep -qE "(^|, )${package}( |,|\$)" <<<"$provided" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "tamrivo: installing ${missing[*]} in the $release root"
    chroot "$root" apt-get update -qq || fail "apt-get update failed in the $release root"
    chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null || fail "could not install in the $release root: ${missing[*]}"
}

# Mount points, innermost last; leave_root takes them down in the other order.
root_mounts=(proc dev dev/pts tmp src)

enter_root() {
    leave_root  # what a killed run left mounted
    mkdir -p "$root/src"
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    mount --bind /dev/pts "$root/dev/pts"
    mount --bind /tmp "$root/tmp"
    mount --bind "$PWD" "$root/src"
}

leave_root() {
    local i
    for ((i = ${#root_mounts[@]} - 1; i >= 0; i--)); do
        mountpoint -q "$root/${root_mounts[i]}" && umount -l "$root/${root_mounts[i]}"
    done
    return 0
}

# Runs a command in the root, in /src, with a clean environment.
in_root() {
    chroot "$root" env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        sh -c 'cd /src && exec "$@"' in_root "$@"
}

# Adds to $settings the file a build setting names: the host path in the variable of the same
# name, copied where the root sees it, else the checkout's test file.
add_setting_file() {
    local name=$1 default=$2 value=${!1:-}
    if [ -z "$value" ]; then
        settings+=("-D$name=/src/$default")
        return
    fi
    [ -r "$value" ] || fail "$name: cannot read $value"
    mkdir -p "build-$release/settings"
    cp "$value" "build-$release/settings/$name"
    settings+=("-D$name=/src/build-$release/settings/$name")
}

# Configures and builds this checkout in the root as the release's package is built: build
# type None with the root's dpkg-buildflags, the packaged program, no benchmarks; the tests as
# the directory has them; then the options given. The vendor's settings come from variables
# of their names, else the defaults: TAMRIVO_VERSION (the project's), TAMRIVO_UPDATE_HOST
# (localhost), TAMRIVO_APT_REPOSITORY (http://<update host>:81/apt), and the files
# TAMRIVO_UPDATE_PUBLIC_KEY and TAMRIVO_APT_KEYRING (the keys in tests/keys, with no private
# half anywhere). One directory per release, build-<release>, serves its tests and its
# package. Needs enter_root first.
build_in_root() {
    local build=build-$release
    local host=${TAMRIVO_UPDATE_HOST:-localhost}
    local settings=(
        -DTAMRIVO_VERSION="${TAMRIVO_VERSION:-$(sed -n 's/^project(Tamrivo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)}"
        -DTAMRIVO_UPDATE_HOST="$host"
        -DTAMRIVO_APT_REPOSITORY="${TAMRIVO_APT_REPOSITORY:-http://$host:81/apt}"
    )
    add_setting_file TAMRIVO_UPDATE_PUBLIC_KEY tests/keys/update_test_public_key.pem
    add_setting_file TAMRIVO_APT_KEYRING tests/keys/archive_test_keyring.gpg
    mkdir -p "$build"
    in_root env CCACHE_DIR=/var/cache/ccache CCACHE_BASEDIR=/src sh -c '
        build=$1; shift
        cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
            -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
            -DTAMRIVO_PACKAGED=ON -DTAMRIVO_BENCH=OFF \
            -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
            -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
            -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" "$@" >/dev/null' \
        configure "$build" "${settings[@]}" "$@" || fail "cmake could not configure the $release build"
    in_root env CCACHE_DIR=/var/cache/ccache CCACHE_BASEDIR=/src \
        cmake --build "$build" --parallel "$(build_jobs)" >"$build/build.log" 2>&1 \
        || { grep -B2 -A12 -m5 -E "error|FAILED" "$build/build.log"; fail "the $release build failed"; }
    ! grep -n -m5 "warning:" "$build/build.log" || fail "the $release build has warnings"
}
