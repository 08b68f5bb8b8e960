#!/usr/bin/env bash
# The program's whole job with the stand-in Install Aide.
#
# Prepares BUILD/demo with Sorvanil.exe, the stand-in INSTAIDE.dll beside it, a store with
# three users and three sample .prc files, then runs the program under Wine. With a display
# you use the dialog yourself; without one (or with --headless) it runs under Xvfb, takes a
# screenshot of the dialog, presses INSTALL, takes a screenshot of the message, confirms it.
# Either way it ends by printing each user's queue.
# Usage: tools/demo.sh BUILD_DIR [--headless]     (DEMO_DIR: another folder than BUILD_DIR/demo)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
mode=${2:-}
demo=${DEMO_DIR:-$build/demo}
export DEMO_DIR=$demo SORVANIL_BUILD=$build
wine_run="$here/wine-run"

rm -rf "$demo"
mkdir -p "$demo/store"
cp "$build/Sorvanil.exe" "$build/standin/INSTAIDE.dll" "$demo/"
printf 'Ann Archer\r\nBob Baker\r\nCy Cooper\r\n' > "$demo/store/users.txt"
python3 "$here/make_prc.py" "$demo"

export INSTAIDE_STANDIN_STORE="Z:${demo//\//\\}\\store"

if [ -z "${DISPLAY:-}" ]; then
  # A display of our own; Wine ends by itself before it goes.
  xvfb-run -a -s "-screen 0 1024x768x24" \
    bash -c 'bash "$1/demo-headless.sh" "$2" && "$1/wine-run" wineserver -w' _ "$here" "$build"
elif [ "$mode" = "--headless" ]; then
  bash "$here/demo-headless.sh" "$build"
else
  echo "demo: the install dialog is open; check the users and press INSTALL (or EXIT)."
  (cd "$demo" && "$wine_run" Sorvanil.exe 2>/dev/null) || true
fi

echo
echo "demo: what the stand-in Install Aide holds now:"
found=0
for queue in "$demo"/store/queue/*/; do
  [ -d "$queue" ] || continue
  found=1
  echo "  $(basename "$queue"):"
  sed 's/\r$//; s/^/    /' "$queue/queued.txt"
done
[ "$found" = 1 ] || echo "  (nothing queued)"
echo "demo: the queued files are in $demo/store/queue/"
