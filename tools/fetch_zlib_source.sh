#!/bin/bash
# Fetches the zlib the setup program is built from: Debian's source package
# zlib 1:1.2.13.dfsg-1, taken with apt-get from Debian's own archive and checked
# against the checksum below, then unpacked (with Debian's patches) into a cache
# folder. The build compiles it for the processor the program must run on; the
# prebuilt MinGW zlib is Pentium Pro code. Runs again at no cost once the
# package is unpacked, and never touches the system's apt state.
#
#   tools/fetch_zlib_source.sh CACHE_DIR
#
# CACHE_DIR  where the package is downloaded and unpacked (made if missing);
#            the unpacked source folder's path is printed on stdout.
set -eu
if [ $# -ne 1 ]; then
    echo "usage: tools/fetch_zlib_source.sh CACHE_DIR" >&2
    exit 2
fi
version=1:1.2.13.dfsg-1
dsc=zlib_1.2.13.dfsg-1.dsc
dsc_sha256=3fa1e6b2fc525062aa88207dda52fed8e045373c809d362fe8a2bfbf7cf515a8
archive=http://deb.debian.org/debian
suite=bookworm

cache=$(realpath -m "$1")
tree=$cache/zlib-1.2.13.dfsg
mkdir -p "$cache"
# Both builds may be configured at once; one fetches, the other waits for it.
exec 9> "$cache/.lock"
flock 9
if [ -f "$tree/.unpacked" ]; then
    echo "$tree"
    exit 0
fi

dsc_is_pinned() {
    echo "$dsc_sha256  $cache/$dsc" | sha256sum -c --status 2> /dev/null
}

# A private apt configuration: its own source list with deb-src, its own lists
# and cache, so the system's sources and state stay as they are.
download() {
    local apt_dir=$cache/apt
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
        "$archive" "$suite" /usr/share/keyrings/debian-archive-keyring.gpg > "$apt_dir/sources.list.d/zlib-source.sources"
    printf 'Dir::Etc::SourceList "/dev/null";\nDir::Etc::SourceParts "%s";\nDir::State::Lists "%s";\nDir::Cache "%s";\n' \
        "$apt_dir/sources.list.d" "$apt_dir/lists" "$apt_dir/cache" > "$apt_dir/apt.conf"
    echo "fetch_zlib_source: downloading zlib=$version from $archive" >&2
    APT_CONFIG=$apt_dir/apt.conf apt-get -q update >&2
    (cd "$cache" && APT_CONFIG=$apt_dir/apt.conf apt-get -q source --download-only "zlib=$version") >&2
    if ! dsc_is_pinned; then
        echo "fetch_zlib_source: $cache/$dsc does not have the pinned checksum $dsc_sha256" >&2
        exit 1
    fi
}

# dpkg-source checks both tarballs against the checksums the .dsc names.
unpack() {
    rm -rf "$tree"
    (cd "$cache" && dpkg-source -x "$dsc" "$tree") >&2
}

if ! dsc_is_pinned || ! unpack; then
    rm -f "$cache"/zlib_1.2.13.dfsg*     # a damaged or cut download is taken afresh
    download
    unpack
fi
touch "$tree/.unpacked"
echo "$tree"
