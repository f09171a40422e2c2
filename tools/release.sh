#!/bin/bash
# Builds the release of the checked-out commit: both setup programs built from
# the commit alone (exported with git archive into a scratch folder, so nothing
# of this checkout's folder or state gets in), signed when a certificate is
# named, their payload listings checked with --verify under Wine, and
# SHA256SUMS written beside them.
#
#   tools/release.sh [--compare-with BUILD_DIR] [OUT_DIR]
#
#   OUT_DIR       where the release is written (default build/release):
#                 setup.exe (the shipping i686 program), setup-x86_64.exe,
#                 their payload listings and SHA256SUMS
#   --compare-with BUILD_DIR
#                 also require BUILD_DIR/i686/setup.exe and BUILD_DIR/x86_64/setup.exe,
#                 another build of the same commit, to be byte-identical to the
#                 release's programs (a signed release is compared with its
#                 signature removed)
#
# Signing: set LUMABOOK_SIGN_PKCS12 (the PKCS#12 certificate file) and
# LUMABOOK_SIGN_PASSWORD_FILE (the file holding its password) in the environment.
# Time stamps come from the commit (SOURCE_DATE_EPOCH): the programs carry none,
# and a signature's signing time is the commit's time.
set -eu
usage="usage: tools/release.sh [--compare-with BUILD_DIR] [OUT_DIR]"
compare_with=
while [ $# -gt 0 ]; do
    case $1 in
        --compare-with) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }
                        compare_with=$(realpath -m "$2"); shift 2 ;;
        -*) echo "$usage" >&2; exit 2 ;;
        *) break ;;
    esac
done
[ $# -le 1 ] || { echo "$usage" >&2; exit 2; }
checkout=$(cd "$(dirname "$0")/.." && pwd)
# Paths given relative to where the command was started.
out=$(realpath -m "${1:-$checkout/build/release}")
sign_settings=()
if [ -n "${LUMABOOK_SIGN_PKCS12:-}${LUMABOOK_SIGN_PASSWORD_FILE:-}" ]; then
    sign_settings=(-DLUMABOOK_SIGN_PKCS12="$(realpath -m "${LUMABOOK_SIGN_PKCS12:-}")"
                   -DLUMABOOK_SIGN_PASSWORD_FILE="$(realpath -m "${LUMABOOK_SIGN_PASSWORD_FILE:-}")")
fi
cd "$checkout"
targets="i686 x86_64"

fail() {
    echo "release: $*" >&2
    exit 1
}

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    fail "the checkout has uncommitted changes; a release is built from the commit alone: commit or stash them"
fi
commit=$(git rev-parse HEAD)
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH

tools/install_prerequisites.sh
work=$(mktemp -d "${TMPDIR:-/tmp}/lumabook-release.XXXXXX")
source=$work/source
wine_state=$work/wine
# Wine's run is stopped (and its small disk unmounted) however the script ends;
# the scratch folder is removed after a release and kept after a failure.
finish() {
    local status=$?
    [ ! -d "$wine_state" ] || "$checkout/tests/wine_run.sh" "$wine_state" --stop
    if [ $status -eq 0 ]; then
        rm -rf "$work"
    else
        echo "release: the scratch folder $work is kept for a look; remove it afterwards" >&2
    fi
}
trap finish EXIT

echo "Building commit $commit in $work"
mkdir -p "$source"
git archive --format=tar HEAD | tar -x -C "$source"
for target in $targets; do
    (cd "$source" && cmake --preset "$target" -DLUMABOOK_TESTS=OFF "${sign_settings[@]}" > /dev/null &&
        nice cmake --build --preset "$target") || fail "the $target build failed"
done

# The x86_64 listing program reads either program's resources as data.
"$checkout/tests/wine_run.sh" "$wine_state" --start
for target in $targets; do
    built=$source/build/$target
    (cd "$built" && "$checkout/tests/wine_run.sh" "$wine_state" "$source/build/x86_64/payload_list.exe" setup.exe --verify \
        > payload_list.txt) || fail "the payload listing of the $target program failed ($built/payload_list.txt)"
    # The scratch folder's path must show neither in the program nor in the
    # payload files it carries compressed (the sample product's, when built).
    found=$(LC_ALL=C grep -l -r -a -F "$work" "$built/setup.exe" "$built/sample_product" 2> /dev/null || true)
    [ -z "$found" ] || fail "the build folder's path $work is written in: $found"
done

mkdir -p "$out"
rm -f "$out"/setup*.exe "$out"/payload_list*.txt "$out/SHA256SUMS"
cp "$source/build/i686/setup.exe" "$out/setup.exe"
cp "$source/build/i686/payload_list.txt" "$out/payload_list.txt"
cp "$source/build/x86_64/setup.exe" "$out/setup-x86_64.exe"
cp "$source/build/x86_64/payload_list.txt" "$out/payload_list-x86_64.txt"
(cd "$out" && sha256sum setup.exe setup-x86_64.exe payload_list.txt payload_list-x86_64.txt > SHA256SUMS)

# Another build of the commit must give the same bytes; a signature is appended
# to the image, and removing it gives back the program as built.
compare() {
    local released=$1 other=$2 unsigned=$work/unsigned.exe
    if [ ${#sign_settings[@]} -gt 0 ]; then
        osslsigncode remove-signature -in "$released" -out "$unsigned" > /dev/null || fail "cannot remove the signature of $released"
        released=$unsigned
    fi
    [ -f "$other" ] || fail "there is no $other to compare with"
    if ! cmp -s "$released" "$other"; then
        fail "$other differs from the release's program in $(cmp -l "$released" "$other" 2> /dev/null | wc -l) bytes (sizes $(stat -c %s "$released") and $(stat -c %s "$other"))"
    fi
    rm -f "$unsigned"
    echo "Byte-identical: $other"
}
if [ -n "$compare_with" ]; then
    compare "$out/setup.exe" "$compare_with/i686/setup.exe"
    compare "$out/setup-x86_64.exe" "$compare_with/x86_64/setup.exe"
fi

echo "Release of $commit in $out$([ ${#sign_settings[@]} -gt 0 ] && echo ", signed with $LUMABOOK_SIGN_PKCS12"):"
tail -n 1 "$out/payload_list.txt"
cat "$out/SHA256SUMS"
