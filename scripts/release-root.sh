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
    local missing=() package status
    for package in "${packages[@]}" "${root_packages[@]}"; do
        status=$(chroot "$root" dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
        [ "$status" = "install ok installed" ] || missing+=("$package")
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
