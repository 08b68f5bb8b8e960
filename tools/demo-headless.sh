#!/usr/bin/env bash
# The headless half of the demo, run under Xvfb: screenshot, INSTALL, screenshot, OK.
# Usage: tools/demo-headless.sh BUILD_DIR
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
demo=${DEMO_DIR:-$build/demo}
export SORVANIL_BUILD=$build
"$here/wine-run" --prefix >/dev/null

# Waits up to 120 s (an emulated machine is slow) for a window with this exact title;
# prints its X id.
wait_window() {
  for _ in $(seq 1 600); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  echo "demo: no window titled '$1' appeared" >&2
  return 1
}

cd "$demo"
"$here/wine-run" Sorvanil.exe 2>/dev/null &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

dialog=$(wait_window "Drestovane Handheld Computer Application Install")
sleep 1
import -window "$dialog" "$demo/dialog.png"
echo "demo: screenshot of the dialog: $demo/dialog.png"

xdotool key Return          # INSTALL is the default button
message=$(wait_window "Sorvanil")
sleep 1
import -window "$message" "$demo/message.png"
echo "demo: screenshot of the message: $demo/message.png"
xdotool key Return          # OK

for _ in $(seq 1 600); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
if kill -0 $pid 2>/dev/null; then
  echo "demo: the program did not end" >&2
  exit 1
fi
trap - EXIT
wait $pid
