#!/bin/bash
# Installs, as root on Debian 12, the packages the build and the tests need
# that the machine does not have yet. Runs apt-get update only when something is missing.
set -eu
packages=(
    cmake ninja-build python3
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    googletest unifont
    dpkg-dev bzip2 xz-utils    # unpack the zlib source package (tools/fetch_zlib_source.sh)
    wine64 xvfb xauth liblnk-utils locales fonts-dejavu-core
    osslsigncode openssl
)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q "install ok installed" || missing+=("$package")
done
# Wine takes the Windows locale from LANG, but only for Linux locales that exist.
generate_locales() {
    for locale in zh_CN zh_TW zh_HK zh_SG ja_JP ko_KR; do
        locale -a | grep -qx "$locale.utf8" || localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    done
}
if [ ${#missing[@]} -eq 0 ]; then
    [ "$(id -u)" -ne 0 ] || generate_locales
    exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "install_prerequisites: missing ${missing[*]}; run as root to install them" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" > /dev/null
generate_locales
