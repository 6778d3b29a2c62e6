#!/usr/bin/env bash
# The real program under Xvfb: started with a library, its window must be titled
# "Pictarium - <path>"; keys select a node with icons; a screenshot is kept; Alt+X closes it.
#   e2e_window.sh PICTARIUM LIBRARY SCREENSHOT
set -euo pipefail
if [ "${1:-}" != --inside ]; then
  exec xvfb-run -a -s "-screen 0 800x600x24" "$0" --inside "$@"
fi
bin=$2 lib=$3 shot=$4

run() {
  "$bin" "$lib" &
  local pid=$! wid=""
  for _ in $(seq 1 100); do
    wid=$(xdotool search --onlyvisible --name "^Pictarium - ${lib//./\\.}\$" 2>/dev/null | head -n1) && [ -n "$wid" ] && break
    sleep 0.1
  done
  if [ -z "$wid" ]; then
    echo "no window titled 'Pictarium - $lib'" >&2
    kill "$pid"
    return 1
  fi
  # No window manager runs here: give the window the keyboard focus directly.
  xdotool windowfocus --sync "$wid"
  sleep 0.5
  # The tree has the focus: first node, open it, its first child (the toolbar glyphs).
  xdotool key Home Right Down
  sleep 0.5
  import -window root "$shot"
  xdotool key alt+x
  for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "Alt+X did not close the window" >&2
    kill "$pid"
    return 1
  fi
  wait "$pid"
}

run
test -s "$shot"
