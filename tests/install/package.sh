#!/usr/bin/env bash
# The Debian package from the built tree, installed into a scratch root with dpkg, its programs
# run from there, then removed: nothing of it may stay behind.
#   package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d /tmp/zorva-package.XXXXXX)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(echo "$work"/out/zorvafolders_"$version"_*.deb)
[[ -f $deb ]] || { echo "no package in $work/out" >&2; ls -R "$work/out" >&2; exit 1; }

root="$work/root"
mkdir -p "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/info" "$root/var/log"
touch "$root/var/lib/dpkg/status"
dpkg=(dpkg --root="$root" --force-not-root --force-depends --log=/dev/null)
# The scratch root has none of the dependencies: dpkg's list of them is expected.
"${dpkg[@]}" -i "$deb" >/dev/null 2>"$work/dpkg.err" || { cat "$work/dpkg.err" >&2; exit 1; }

bin="$root/usr/bin"
[[ $("$bin/zorva-db" --version) == "zorva-db $version" ]] || { echo "zorva-db --version is wrong" >&2; exit 1; }
"$bin/zorva-db" init "sqlite:$work/court.db"
tables=$(sqlite3 "$work/court.db" .tables)
[[ $tables == *FILCHK* && $tables == *HRGDTA* ]] || { echo "init made: $tables" >&2; exit 1; }

# The installed host finds its component and the installed reference tables on its own: a
# message box (a missing table) would be pictured too.
XDG_CONFIG_HOME="$work/config" ZORVA_DATABASE="sqlite:$work/court.db" \
    "$bin/zorva-host" --screenshots "$work/shots" >/dev/null
shots=$(cd "$work/shots" && echo *.png)
[[ $shots == "01-frmHost.png 02-frmFolderEdit.png 03-frmFolderDocket.png 04-frmFolderBatch.png 05-frmFolderLocate-case.png 06-frmFolderLocate-holder.png 07-frmFolderLocate-pull-list.png 08-frmFolderLocate-overdue.png" ]] ||
    { echo "the installed host pictured: $shots" >&2; exit 1; }

"${dpkg[@]}" -r zorvafolders >/dev/null
left=$(cd "$root" && find . -path ./var -prune -o ! -type d -print)
[[ -z $left ]] || { echo "left behind after removal:" >&2; echo "$left" >&2; exit 1; }
echo "installed, ran and removed $(basename "$deb")"
