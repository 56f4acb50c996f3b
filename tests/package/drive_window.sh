#!/usr/bin/env bash
# Runs the installed calculator on a virtual display, as the user who runs this script, and
# drives it with the keyboard like a person: one scenario, then the program must end.
#   drive_window.sh SCENARIO OUT_DIR
# Scenarios: english (switch to English, exit), exit (exit at once), help (open the help file,
# exit), unwritable (switch to Chinese, exit; the settings error box must appear, and is
# confirmed).
# Writes into OUT_DIR: wm_class (the window's WM_CLASS), status (the program's exit status),
# stderr, opened (what the desktop was asked to open), screenshots.
set -euo pipefail
scenario=$1 out=$2
mkdir -p "$out"
title='Trevana背包问题计算器2023'

# The desktop's opener and the help viewers, replaced by ones that note what they were asked
# to open (a help file goes to a help viewer, everything else to the opener).
mkdir -p "$out/bin"
for opener in xdg-open xchm kchmviewer; do
  cat >"$out/bin/$opener" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >>"$out/opened"
EOF
  chmod +x "$out/bin/$opener"
done
export PATH="$out/bin:$PATH"
: >"$out/opened"

Xvfb_pid=
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
Xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$display_file")
rm -f "$display_file"
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
trap 'kill $wm_pid $Xvfb_pid 2>/dev/null || true' EXIT
sleep 1

shot() { import -display "$DISPLAY" -window root "$out/$1.png" 2>/dev/null || true; }
keys() {
  for key in "$@"; do
    xdotool key --clearmodifiers "$key"
    sleep 0.5
  done
}

Trevana2023 2>"$out/stderr" &
program=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --classname trevana2023 | head -n 1) || {
  echo "drive_window: no window appeared" >&2
  shot no-window
  kill "$program" 2>/dev/null
  exit 1
}
xprop -id "$window" WM_CLASS | sed 's/^[^=]*= //' >"$out/wm_class"
xdotool windowactivate --sync "$window"
sleep 1
shot "$scenario-start"

case "$scenario" in
  english) keys alt+s e ;;
  unwritable) keys alt+s c ;;
  help) keys alt+h c ;;
  exit) ;;
  *) echo "drive_window: unknown scenario $scenario" >&2; exit 2 ;;
esac
shot "$scenario-before-exit"
keys alt+f e

if [ "$scenario" = unwritable ]; then
  # The main window goes first; then the settings error box appears on its own.
  box=
  for _ in $(seq 1 100); do
    box=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) && [ -n "$box" ] && break
    sleep 0.2
  done
  if [ -z "$box" ]; then
    echo "drive_window: no error box at exit" >&2
  else
    shot unwritable-box
    xdotool windowactivate --sync "$box" key Return
  fi
fi

for _ in $(seq 1 100); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$program" 2>/dev/null; then
  shot still-running
  kill "$program"
  echo "drive_window: the program did not end" >&2
  exit 1
fi
status=0
wait "$program" || status=$?
echo "$status" >"$out/status"
