#!/usr/bin/env bash
# An install staged under DESTDIR, then a host program from outside the tree built against it
# twice (CMake package, pkg-config) and run offscreen on a fresh court file.
#   outside-host.sh BUILD_DIR ZORVA_DB
set -euo pipefail
build=$1 zorva_db=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/zorva-outside.XXXXXX)
trap 'rm -rf "$work"' EXIT

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >/dev/null
prefix="$work/stage/usr"

cmake -S "$here/outside-host" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null

# The pkg-config file names its folders from the prefix, which the staging moved (a defined
# variable would move Qt's prefix as well).
mkdir "$work/pc"
sed "s|^prefix=.*|prefix=$prefix|" "$(find "$prefix" -name zorvafolders.pc)" >"$work/pc/zorvafolders.pc"
flags=$(PKG_CONFIG_PATH="$work/pc" pkg-config --cflags --libs zorvafolders)
# shellcheck disable=SC2086 # the flags are words
c++ -std=c++17 -fPIC "$here/outside-host/main.cpp" -o "$work/pc-host" $flags

"$zorva_db" init "sqlite:$work/court.db" >/dev/null
export QT_QPA_PLATFORM=offscreen ZORVA_DATABASE="sqlite:$work/court.db"
export ZORVA_PROGRAM_FILES="$prefix/share/zorvafolders" XDG_CONFIG_HOME="$work/config"
expected="window: PC/MEVS - File Checkout - 2009-CV-000123
window: PC/MEVS - Update Folder Status for Docketed Cases"
for host in "$work/cmake/outside-host" "$work/pc-host"; do
    said=$("$host")
    if [[ $said != "$expected" ]]; then
        printf '%s said:\n%s\nexpected:\n%s\n' "$host" "$said" "$expected" >&2
        exit 1
    fi
done
echo "both outside hosts opened the editor and the docket window without a message box"
