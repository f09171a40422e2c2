#!/bin/bash
# A Debian 13 root with Wine 10, which runs the shipping 32-bit program in
# WoW64 mode (Debian 12's 32-bit Wine cannot start on kernels that run 32-bit
# code only inside 64-bit processes), and the way to run programs in it.
#
#   wine_root.sh make              make the root unless it is complete; prints its path
#   wine_root.sh run PROGRAM ARGS  run PROGRAM (a path inside the root, such as
#                                  /usr/lib/wine/wine64) in the root, with this
#                                  checkout, the X socket folder and GNU Unifont
#                                  at their own paths, so no path is translated
#
# The root lives in LUMABOOK_WINE_ROOT_DIR (default /var/cache/lumabook/wine10-root),
# outside the checkout, so that a machine makes it once. Making it takes a few
# minutes and about 450 MB; each step is named and has a time limit, and the
# root is complete only when its stamp is written last: a root without its stamp
# (a run cut short, no network, a full disk) is removed and made again.
# Every program runs in a private mount namespace: the mounts it needs vanish
# with its last process, so none outlives a run, also one that failed or was killed.
set -eu
checkout=$(cd "$(dirname "$0")/.." && pwd)
root=${LUMABOOK_WINE_ROOT_DIR:-/var/cache/lumabook/wine10-root}
suite=trixie
mirror=http://deb.debian.org/debian
# Written last; a new recipe changes it, which makes every older root again.
stamp=$root/.lumabook-wine-root
recipe="wine10 wow64 recipe 1"
locales="zh_CN zh_TW zh_HK zh_SG ja_JP ko_KR en_US"
wine_dlls_32=usr/lib/i386-linux-gnu/wine/i386-windows
wine_dlls_here=usr/lib/x86_64-linux-gnu/wine/i386-windows

say() { echo "wine root: $*" >&2; }

# step NAME SECONDS COMMAND...: one named step of the making, never a hang.
step() {
    local name=$1 seconds=$2
    shift 2
    say "$name"
    local status=0
    # A function of this script runs through the script again: timeout runs programs.
    if [ "$(type -t "$1")" = function ]; then
        set -- "$0" __step "$@"
    fi
    timeout --kill-after=20 "$seconds" "$@" > "$root.log.step" 2>&1 || status=$?
    cat "$root.log.step" >> "$root.log"
    if [ $status -ne 0 ]; then
        [ $status -eq 124 ] && say "step '$name' took longer than $seconds s and was stopped" ||
            say "step '$name' failed (exit code $status)"
        tail -n 15 "$root.log.step" >&2
        say "the root stays incomplete and is made again by the next run (log: $root.log)"
        exit 1
    fi
}

mounts_under() {
    awk -v root="$1" '$5 == root || index($5, root "/") == 1 { print $5 }' /proc/self/mountinfo
}

# Removing a folder with a mount inside would remove what is mounted there.
remove_incomplete_root() {
    [ -e "$root" ] || return 0
    if [ -n "$(mounts_under "$root")" ]; then
        say "$root has mounts inside ($(mounts_under "$root" | head -n 3 | tr '\n' ' ')); not removing it"
        exit 1
    fi
    say "removing the incomplete root $root"
    rm -rf "$root"
}

# Runs COMMAND chrooted in a private mount namespace with /proc, /sys and /dev.
in_root_as_system() {
    unshare --mount --propagation private -- "$0" __system "$@"
}

apt_in_root() {
    in_root_as_system sh -c "export DEBIAN_FRONTEND=noninteractive; $*"
}

copy_32bit_wine_modules() {
    local scratch=$root/tmp/libwine-i386
    rm -rf "$scratch"
    mkdir -p "$scratch"
    in_root_as_system sh -c "cd /tmp/libwine-i386 && apt-get download -q libwine:i386"
    dpkg-deb -x "$scratch"/libwine_*_i386.deb "$scratch/extracted"
    mkdir -p "$root/$wine_dlls_here"
    cp -a "$scratch/extracted/$wine_dlls_32/." "$root/$wine_dlls_here/"
    rm -rf "$scratch"
    [ -f "$root/$wine_dlls_here/kernel32.dll" ]
}

generate_locales() {
    local locale
    for locale in $locales; do
        in_root_as_system localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    done
}

make_root() {
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$recipe" ]; then
        echo "$root"
        return 0
    fi
    [ "$(id -u)" -eq 0 ] || { say "making the root needs root (debootstrap, chroot, mounts)"; exit 1; }
    remove_incomplete_root
    mkdir -p "$(dirname "$root")"
    : > "$root.log"
    if ! command -v debootstrap > /dev/null; then
        step "installing debootstrap on this machine" 300 \
            sh -c 'DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap ||
                   { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap; }'
    fi
    step "debootstrap of Debian 13 ($suite, minbase)" 900 debootstrap --variant=minbase "$suite" "$root" "$mirror"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    step "the i386 architecture and the package lists" 600 \
        apt_in_root "dpkg --add-architecture i386 && apt-get update -q"
    step "Wine 10, fonts and locales" 1200 \
        apt_in_root "apt-get install -y -q --no-install-recommends wine64 libwine fonts-dejavu-core fontconfig locales"
    step "the 32-bit Windows modules of Wine (libwine:i386)" 600 copy_32bit_wine_modules
    step "locales: $locales" 600 generate_locales
    echo "$recipe" > "$stamp"
    say "ready: $root"
    echo "$root"
}

bind_at_same_path() {
    local flags=$1 path=$2
    [ -e "$path" ] || return 0
    if [ -d "$path" ]; then mkdir -p "$root$path"; else mkdir -p "$(dirname "$root$path")"; touch "$root$path"; fi
    mount $flags "$path" "$root$path"
}

# Inside the private namespace: the system folders the root's programs need.
mount_system() {
    mount -t proc proc "$root/proc"
    mount --rbind /sys "$root/sys"
    mount --rbind /dev "$root/dev"
}

case "${1:-}" in
make)
    make_root
    ;;
run)
    shift
    [ -f "$stamp" ] || { say "$root is not made (tools/wine_root.sh make)"; exit 1; }
    exec unshare --mount --propagation private -- "$0" __run "$@"
    ;;
__step)
    shift
    "$@"
    ;;
__system)
    shift
    mount_system
    exec chroot "$root" "$@"
    ;;
__run)
    shift
    # The checkout first: its own mounts (the tests' small disk) come along.
    bind_at_same_path --rbind "$checkout"
    bind_at_same_path --bind /tmp/.X11-unix
    bind_at_same_path --bind /usr/share/unifont
    mount_system
    # chroot starts in the root's /: the program keeps this folder where it exists there.
    exec chroot "$root" /bin/sh -c 'cd "$0" 2> /dev/null || cd /; exec "$@"' "$PWD" "$@"
    ;;
*)
    echo "usage: wine_root.sh make | run PROGRAM [ARGS...]" >&2
    exit 2
    ;;
esac
