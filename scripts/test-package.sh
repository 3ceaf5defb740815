#!/usr/bin/env bash
# Builds the Debian package, makes a fresh Debian 12 root with debootstrap, installs the
# package there with apt (which must pull every dependency), starts tamrivo as an ordinary
# user under a private X server, logs in as admin with xdotool and sees the main window,
# starts it again on the same records, removes the package and checks that the user's
# records are still there. Everything lives in build-package/ and goes at the end.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

root=$PWD/build-package/root
mirror=$(sed -n 's/^URIs: *\(http[^ ]*debian\)$/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1)
mirror=${mirror:-http://deb.debian.org/debian}
user=landlord
records=/home/$user/.local/share/tamrivo/Data/Data.db
started=$SECONDS
phase_start=$SECONDS

phase() {
    echo "tamrivo: $1 took $((SECONDS - phase_start)) s"
    phase_start=$SECONDS
}

in_root() { chroot "$root" "$@"; }
as_user() { chroot "$root" setpriv --reuid="$user" --regid="$user" --init-groups \
    env -i HOME="/home/$user" USER="$user" PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" "$@"; }

unmount_all() {
    for point in tmp/.X11-unix dev/pts dev proc; do
        mountpoint -q "$root/$point" && umount -l "$root/$point"
    done
    return 0
}
cleanup() {
    [ -n "${program:-}" ] && kill "$program" 2>/dev/null
    [ -n "${xserver:-}" ] && kill "$xserver" 2>/dev/null
    unmount_all
    rm -rf "$root"
}
trap cleanup EXIT

bash scripts/build-package.sh
package=$(ls "$PWD"/build-package/tamrivo_*_amd64.deb)
phase "building the package"

unmount_all; rm -rf "$root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >/dev/null \
    || fail "debootstrap could not make a Debian 12 root from $mirror"
phase "debootstrap"

mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp "$package" "$root/tmp/"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "/tmp/${package##*/}" >/dev/null \
    || fail "apt-get could not install the package"
in_root useradd --create-home --shell /bin/bash "$user"
phase "installing the package and what it needs"

# A private X server on the host; the root sees its socket.
mkdir -p "$root/tmp/.X11-unix"
display_file=$(mktemp)
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x800x24 3>"$display_file" 2>/dev/null &
xserver=$!
for _ in $(seq 50); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$display_file")"
rm -f "$display_file"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"

# Starts tamrivo as the user, logs in and waits for the main window; leaves $program set.
log_in() {
    as_user tamrivo >"$root/tmp/tamrivo.log" 2>&1 &
    program=$!
    local login
    login=$(timeout 60 xdotool search --sync --onlyvisible --classname tamrivo | head -1)
    [ -n "$login" ] || { cat "$root/tmp/tamrivo.log"; fail "no login window appeared"; }
    # No window manager: the keyboard follows the pointer. The user name box has the focus.
    xdotool mousemove --window "$login" 150 40 click 1 sleep 0.3 type --delay 20 admin
    xdotool key Tab type --delay 20 904817
    xdotool key Return
    timeout 30 xdotool search --sync --onlyvisible --name '^Tamrivo$' >/dev/null \
        || { cat "$root/tmp/tamrivo.log"; fail "the main window did not appear after logging in"; }
}
# chroot, setpriv, env and the launcher each become the next, so $program is the program itself.
stop_program() {
    kill -TERM "$program"
    wait "$program" 2>/dev/null || true
    program=
}

log_in
[ -s "$root$records" ] || fail "the first start made no database"
[ "$(stat -c %a "$root/home/$user/.local/share/tamrivo")" = 700 ] || fail "the folder is open to others"
first=$(sha256sum <"$root$records")
stop_program
phase "first start and log-in"

log_in
[ "$(sha256sum <"$root$records")" = "$first" ] || fail "the second start changed the records"
stop_program
phase "second start on the same records"

in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq tamrivo >/dev/null
[ ! -e "$root/opt/tamrivo" ] && [ ! -e "$root/usr/bin/tamrivo" ] || fail "the package left files"
[ "$(sha256sum <"$root$records")" = "$first" ] || fail "removing the package lost the records"
phase "removing the package"
echo "tamrivo: the package installs, starts, keeps the records and removes cleanly" \
    "($((SECONDS - started)) s in all)"
