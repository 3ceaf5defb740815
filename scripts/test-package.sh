#!/usr/bin/env bash
# The packages from end to end, as a landlord gets them: makes the vendor's keys, builds the
# packages of Debian 12 and 13 (scripts/build-package.sh) for release 1.0.0.0 and 1.0.0.1,
# publishes 1.0.0.0 into the apt repository served by nginx on loopback, and then in a fresh
# root of each release: adds the repository as the README says, installs tamrivo with apt,
# logs in as an ordinary user under Xvfb with xdotool, gives the user a guest, publishes
# 1.0.0.1, upgrades with apt, logs in again on version 1.0.0.1 with the guest still there,
# removes and purges the package and checks that the records stay. Work files live in
# build-package/e2e/ and go at the end. Give release names to test only those.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/release-root.sh"

work=$PWD/build-package/e2e
releases=("$@")
[ ${#releases[@]} -gt 0 ] || releases=(bookworm trixie)
user=landlord
folder=/home/$user/.local/share/tamrivo
phase_start=$SECONDS
started=$SECONDS

phase() {
    echo "tamrivo: $1 took $((SECONDS - phase_start)) s"
    phase_start=$SECONDS
}

cleanup() {
    [ -n "${program:-}" ] && kill "$program_pid" 2>/dev/null
    [ -n "${xserver:-}" ] && kill "$xserver" 2>/dev/null
    [ -s "$work/nginx.pid" ] && kill "$(cat "$work/nginx.pid")" 2>/dev/null
    local release
    for release in "${releases[@]}"; do
        root=$work/root-$release
        leave_root
    done
    rm -rf "$work"
}
trap cleanup EXIT
# The test's roots bind what the package needs, and the X server's socket.
root_mounts=(proc dev dev/pts tmp/.X11-unix)

cleanup
mkdir -p "$work/site"
bash scripts/build-package.sh bookworm  # the host's release: its tamrivo-release runs here
release_tool=build-bookworm/tamrivo-release
"$release_tool" keygen --archive-key "$work/apt-key" "$work/update.key" "$work/update.pub" >/dev/null \
    || fail "tamrivo-release could not make the vendor's keys"
for version in 1.0.0.0 1.0.0.1; do
    TAMRIVO_VERSION=$version TAMRIVO_APT_KEYRING=$work/apt-key/tamrivo-archive-keyring.gpg \
        bash scripts/build-package.sh "${releases[@]}"
done
phase "building the packages of both releases and versions"

# Publishes the version into the site: the update reply beside the apt repository.
publish() {
    local program=$work/program-$1
    mkdir -p "$program"
    echo "$1" >"$program/VERSION"
    "$release_tool" publish --key "$work/update.key" --version "$1" --notes "版本 $1" \
        --base-url http://localhost:81 --output "$work/site" \
        --packages build-package --archive-key "$work/apt-key" "$program" >/dev/null \
        || fail "tamrivo-release could not publish $1"
}
publish 1.0.0.0
# The project's site, on loopback alone.
sed -e '/listen \[::\]:81;/d' -e 's|listen 81;|listen 127.0.0.1:81;|' \
    -e "s|root /srv/tamrivo-updates;|root $work/site;|" share/nginx/tamrivo-updates.conf >"$work/site.conf"
cat >"$work/nginx.conf" <<EOF
user root;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events {}
http { access_log off; include $work/site.conf; }
EOF
nginx -c "$work/nginx.conf" || fail "nginx could not serve the repository on port 81"
phase "publishing 1.0.0.0 and serving it"

# A private X server on the host; the roots see its socket.
display_file=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 3>"$display_file" 2>/dev/null &
xserver=$!
for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$display_file")"
rm -f "$display_file"

as_root_in() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive "$@"; }
as_user() { chroot "$root" setpriv --reuid="$user" --regid="$user" --init-groups \
    env -i HOME="/home/$user" USER="$user" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" "$@"; }

# The first visible window that matches, within the seconds given; nothing when none came.
# xdotool's own --sync gives up with BadWindow when a window closes while it looks (the
# login window does as the main window opens), so it looks again instead.
find_window() {
    local deadline=$((SECONDS + $1)) found
    shift
    until found=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -1) && [ -n "$found" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 0
        sleep 0.2
    done
    echo "$found"
}

# Starts tamrivo as the user, logs in and waits for the main window; leaves $program set to
# the process that started it and $program_pid to the program, as its window tells.
log_in() {
    as_user tamrivo >"$root/tmp/tamrivo.log" 2>&1 &
    program=$!
    local login
    login=$(find_window 60 --classname tamrivo)
    [ -n "$login" ] || { cat "$root/tmp/tamrivo.log"; fail "$release: no login window appeared"; }
    program_pid=$(xdotool getwindowpid "$login")
    # No window manager: the keyboard follows the pointer. The user name box has the focus.
    xdotool mousemove --window "$login" 150 40 click 1 sleep 0.3 type --delay 20 admin
    xdotool key Tab type --delay 20 904817
    xdotool key Return
    [ -n "$(find_window 30 --name '^Tamrivo$')" ] \
        || { cat "$root/tmp/tamrivo.log"; fail "$release: the main window did not appear after logging in"; }
}
stop_program() {
    kill -TERM "$program_pid"
    wait "$program" 2>/dev/null || true
    program=
}
# The status bar shows the version the program was built with, which the running file holds.
expect_running_version() {
    [ "$(cat "$root$folder/VERSION")" = "$1" ] || fail "$release: the user's folder is not at $1"
    [ "$(readlink "/proc/$program_pid/exe")" = "$root$folder/tamrivo" ] \
        || fail "$release: the program running is not the one in the user's folder"
    grep -qaF "$1" "/proc/$program_pid/exe" || fail "$release: the running program is not version $1"
}
leases() {
    rm -rf "$root/tmp/export"
    as_user tamrivo-records export /tmp/export >/dev/null 2>"$work/records.err" \
        || fail "$release: the records tool failed"
    [ ! -s "$work/records.err" ] || { cat "$work/records.err"; fail "$release: the records tool complained"; }
    cat "$root/tmp/export/leases.csv"
}

install_from_repository() {
    root=$work/root-$release
    debootstrap --variant=minbase "$release" "$root" "$mirror" >/dev/null \
        || fail "debootstrap could not make a $release root from $mirror"
    mkdir -p "$root/tmp/.X11-unix"
    [ -s "$root/etc/hosts" ] || cp /etc/hosts "$root/etc/hosts"
    mount -t proc proc "$root/proc"
    mount --bind /dev "$root/dev"
    mount --bind /dev/pts "$root/dev/pts"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    as_root_in apt-get update -qq
    as_root_in apt-get install -y -qq curl util-linux >/dev/null
    # The README's commands for adding the vendor's repository.
    as_root_in sh -c '
        curl -fsSL -o /usr/share/keyrings/tamrivo-archive-keyring.gpg \
            http://localhost:81/apt/tamrivo-archive-keyring.gpg &&
        . /etc/os-release &&
        printf "Types: deb\nURIs: http://localhost:81/apt\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/tamrivo-archive-keyring.gpg\n" \
            "$VERSION_CODENAME" >/etc/apt/sources.list.d/tamrivo.sources' \
        || fail "$release: could not add the repository as the README says"
    as_root_in apt-get update -qq || fail "$release: apt does not take the repository"
    as_root_in apt-get install -y -qq tamrivo >/dev/null || fail "$release: apt could not install tamrivo"
    as_root_in useradd --create-home --shell /bin/bash "$user"
}

first_start() {
    log_in
    expect_running_version 1.0.0.0
    stop_program
    [ "$(stat -c %a "$root$folder")" = 700 ] || fail "$release: the folder is open to others"
    # A guest checked in: the demo's records, put in place with the records tool.
    as_user sh -c 'mkdir -p /tmp/demo && /opt/tamrivo/tamrivo-records --folder /tmp/demo create --demo' \
        >/dev/null || fail "$release: the records tool could not make the demo's records"
    as_user tamrivo-records restore /tmp/demo/Data/Data.db >/dev/null \
        || fail "$release: the records tool could not put the guest's records in place"
    guests=$(leases)
    [ "$(wc -l <<<"$guests")" -gt 1 ] || fail "$release: no guest in the records"
    echo "$guests" >"$work/guests-$release"
}

upgrade_and_remove() {
    root=$work/root-$release
    as_root_in apt-get update -qq
    as_root_in apt-get upgrade -y -qq >/dev/null || fail "$release: apt could not upgrade"
    [ "$(chroot "$root" dpkg-query -W -f='${Version}' tamrivo)" = "1.0.0.1~deb${deb[$release]}" ] \
        || fail "$release: apt upgrade did not bring 1.0.0.1"
    log_in
    expect_running_version 1.0.0.1
    stop_program
    [ "$(leases)" = "$(cat "$work/guests-$release")" ] || fail "$release: the guest is gone after the upgrade"
    local records
    records=$(sha256sum <"$root$folder/Data/Data.db")
    as_root_in apt-get remove -y -qq tamrivo >/dev/null
    [ ! -e "$root/etc/apt/sources.list.d/tamrivo.sources" ] \
        && [ ! -e "$root/usr/share/keyrings/tamrivo-archive-keyring.gpg" ] \
        || fail "$release: removing the package left its apt source or key"
    # Without configuration files, removing left nothing for apt to purge: dpkg makes sure.
    as_root_in dpkg --purge tamrivo >/dev/null
    [ ! -e "$root/opt/tamrivo" ] && [ ! -e "$root/usr/bin/tamrivo" ] || fail "$release: the package left files"
    [ "$(sha256sum <"$root$folder/Data/Data.db")" = "$records" ] || fail "$release: purging lost the records"
}

declare -A deb=([bookworm]=12 [trixie]=13)
for release in "${releases[@]}"; do
    install_from_repository
    phase "$release: a fresh root, the repository added and tamrivo installed with apt"
    first_start
    phase "$release: first log-in and a guest"
done
publish 1.0.0.1
for release in "${releases[@]}"; do
    upgrade_and_remove
    phase "$release: apt upgrade to 1.0.0.1, log-in, removal and purge"
done
echo "tamrivo: the packages install from the repository, upgrade with apt and keep the records" \
    "($((SECONDS - started)) s in all)"
