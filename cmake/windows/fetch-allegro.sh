#!/bin/sh
# Fetches the source of Allegro 4.4.3.1 (Debian's allegro4.4 source package) into
# a cache folder of the Windows build tree and prints the tarball's path; called by
# build-allegro.sh. apt-get runs with a sources list, package lists and cache of its
# own inside that folder, so the system's apt setup is neither used nor changed.
# Usage: fetch-allegro.sh CACHE_DIR
set -eu
cache=$(mkdir -p "$1" && cd "$1" && pwd)
tarball=allegro4.4_4.4.3.1.orig.tar.gz
# As listed in the package's .dsc; anything else is not the source the patches fit.
sha256=ec19dbc9a021244582b4819b3583ee594b50141f9fcf6944a4ed8069cbf8d4d4
suite=bookworm

verified() {
    [ -f "$cache/$tarball" ] && echo "$sha256  $cache/$tarball" | sha256sum -c --status
}

if verified; then
    echo "$cache/$tarball"
    exit 0
fi

# The Debian mirror the system already uses (an archive URI ending in /debian),
# unless DEBIAN_MIRROR names one.
mirror=${DEBIAN_MIRROR:-$(cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
    /etc/apt/sources.list.d/*.sources 2>/dev/null |
    sed -n -e 's/^[[:space:]]*URIs:[[:space:]]*//p' \
        -e 's/^[[:space:]]*deb\(-src\)\{0,1\}[[:space:]]\{1,\}\(\[[^]]*\][[:space:]]*\)\{0,1\}//p' |
    tr ' ' '\n' | grep -m 1 -E '^(https?|file)://.*/debian/?$' || true)}
if [ -z "$mirror" ]; then
    echo "fetch-allegro: no Debian mirror found in /etc/apt; set DEBIAN_MIRROR" >&2
    exit 1
fi

mkdir -p "$cache/apt/lists/partial" "$cache/apt/cache/archives/partial"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main" \
    > "$cache/apt/sources.list"
# Sandbox::User: root would otherwise hand the download to the _apt user, who
# cannot write into this folder, and warn about it.
set -- -q -o "Dir::Etc::SourceList=$cache/apt/sources.list" \
    -o Dir::Etc::SourceParts=/dev/null -o "Dir::State::Lists=$cache/apt/lists" \
    -o "Dir::Cache=$cache/apt/cache" -o "APT::Sandbox::User=$(id -un)"
apt-get "$@" update >"$cache/apt.log" 2>&1 &&
    (cd "$cache" && rm -f "$tarball" &&
        apt-get "$@" source --tar-only --download-only allegro4.4) >>"$cache/apt.log" 2>&1 || {
    cat "$cache/apt.log" >&2
    echo "fetch-allegro: apt-get could not fetch allegro4.4's source" >&2
    exit 1
}
if ! verified; then
    echo "fetch-allegro: $cache/$tarball is not the expected source (SHA-256 differs)" >&2
    exit 1
fi
echo "$cache/$tarball"
