#!/usr/bin/env bash
# Runs a Windows program under Wine, as the Windows build's tests and the
# benchmark do, in X servers without a window manager:
#
#   WINEPREFIX=<folder> scripts/wine-run.sh [program.exe [arguments]]
#
# The prefix is made on first use (about 20 s), with no Mono or Gecko
# prompts, and shared by later runs (its Wine server has saved it by then, so
# it can be copied); without a program, that is all it does.
# In the prefix, Wine is told that no window manager runs, so that it places,
# frames and closes windows itself, as Windows does (otherwise it waits 2 s
# for a window manager to confirm every window it hides), and a program that
# crashes ends at once instead of waiting in a crash dialog. Wine's menu
# builder stays off: it would copy every Start-menu shortcut an installer
# makes into the host's own desktop menus.
# Wine keeps the host's QT_* variables from Windows programs; each is passed
# on under Wine's WINE prefix, which Wine takes off again. Wine's own
# diagnostics stay quiet unless WINEDEBUG asks for them.
set -euo pipefail
: "${WINEPREFIX:?names the Wine prefix to run in}"
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

made=$WINEPREFIX/.tervalin-made
if [[ ! -f $made ]]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Tests started side by side make the prefix once.
    exec 9>"$WINEPREFIX.lock"
    flock 9
    [[ -f $made ]] || {
        wineboot --init >/dev/null 2>&1 &&
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 &&
            wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
                >/dev/null 2>&1 &&
            wineserver --wait && touch "$made"
    }
    exec 9>&-
fi
(($#)) || exit 0

while IFS='=' read -r -d '' name value; do
    [[ $name == QT_* ]] && export "WINE$name=$value"
done < <(env -0)
# Wine's server and background programs start with the first program in a
# prefix and inherit its standard output and error. Whoever reads those
# through a pipe (ctest) would wait for the background programs too, so a
# pipe gets the output through files instead.
if [[ -p /dev/stdout || -p /dev/stderr ]]; then
    out=$(mktemp)
    err=$(mktemp)
    status=0
    wine "$@" >"$out" 2>"$err" </dev/null || status=$?
    cat "$out"
    cat "$err" >&2
    rm -f "$out" "$err"
    exit $status
fi
exec wine "$@"
