#!/usr/bin/env bash
# Each program's --help and --version on a machine without a display: no DISPLAY, no Wayland,
# no platform chosen, so anything that builds a window before answering fails.
#   programs.sh VERSION ZORVA_HOST ZORVA_DB ZORVA_GALLERY DEMO_SCRIPT
set -uo pipefail
version=$1 host=$2 db=$3 gallery=$4 demo=$5
failed=0

# program | argument | exit status | what stdout must hold
cases=(
    "$host|--version|0|zorva-host $version"
    "$host|--help|0|--program-files <DIR>"
    "$host|--database|2|"
    "$db|--version|0|zorva-db $version"
    "$db|--help|0|Usage: zorva-db"
    "$gallery|--version|0|zorva-gallery $version"
    "$gallery|--help|0|Usage: zorva-gallery"
    "$demo|--help|0|Usage: scripts/demo"
)
for row in "${cases[@]}"; do
    IFS='|' read -r program argument status expected <<<"$row"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$argument" 2>/tmp/zorva-programs.$$)
    got=$?
    if [[ $got != "$status" || $out != *"$expected"* ]]; then
        echo "FAIL: $(basename "$program") $argument: status $got (want $status), said:" >&2
        printf '%s\n' "$out" >&2
        cat /tmp/zorva-programs.$$ >&2
        failed=1
    fi
done
rm -f /tmp/zorva-programs.$$

# Long work shows its progress on a terminal (script gives it one) and prints only its summary
# when neither stdout nor stderr is one.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
court="sqlite:$work/court.db"
"$db" init "$court" >/dev/null
for command in "seed-demo $court" "generate $court --date 2026-03-02 --hearings 3000"; do
    shown=$(script -qec "$db $command" /dev/null)
    piped=$($db $command 2>&1)
    if [[ $shown != *"100% ("*" rows)"* || $piped == *"%"* || $piped == *$'\r'* ]]; then
        printf 'FAIL: progress of %s: on a terminal %q, piped %q\n' "${command%% *}" "$shown" "$piped" >&2
        failed=1
    fi
done
exit $failed
