#!/usr/bin/env bash
# Drives the real program on its own virtual display under openbox, as a person would, and
# checks what the window manager was told and what the program did, through the files it
# saves. Usage: window_e2e.sh PROGRAM OUT_DIR (a screenshot goes to OUT_DIR on failure).
# Every tool is required: a missing one fails the test.
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"

# Generous limits: the machine may be busy with a parallel build and other tests.
readonly LIMIT=45

for tool in Xvfb openbox xdotool xprop xwininfo import; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  import -window root "$out/window_e2e_failure.png" 2>/dev/null &&
    echo "screen at the failure: $out/window_e2e_failure.png" >&2
  [ -s "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
  exit 1
}
step() { echo "== $*"; }

# Runs the command until it succeeds or LIMIT seconds have passed.
within() {
  local end=$((SECONDS + LIMIT))
  until "$@"; do
    ((SECONDS < end)) || return 1
    sleep 0.1
  done
}

# The id of a mapped window whose name matches the pattern; fails when there is none.
viewable() {
  local id
  for id in $(xdotool search --name "$1" 2>/dev/null); do
    if xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
wait_window() { within viewable "$1" >/dev/null || fail "no window \"$1\""; viewable "$1"; }
gone() { ! viewable "$1" >/dev/null; }
wait_gone() { within gone "$1" || fail "the window \"$1\" stays"; }
wait_file() { within test -s "$1" || fail "no file $1"; }

# The client area of a window: sets X Y W H.
geometry() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "X=" $4}
    /Absolute upper-left Y/ {print "Y=" $4} /Width:/ {print "W=" $2} /Height:/ {print "H=" $2}')"
}
click() { xdotool mousemove --sync "$1" "$2" click 1; }
type_text() { xdotool type --delay 40 "$1"; }
property() { xprop -id "$1" "$2" | sed 's/^[^=]*= //'; }
# The 32-bit values of a window's Motif hints: flags, functions, decorations.
motif() { property "$1" _MOTIF_WM_HINTS | tr -d ' ' | cut -d, -f"$2"; }

# Chooses a menu item by its access keys until CHECK succeeds: on a loaded machine the menu may
# open after the second key went to the window, so a missed choice is closed and tried again.
menu_choice() {
  local menu=$1 item=$2 attempt end
  shift 2
  for attempt in 1 2 3; do
    xdotool key "alt+$menu"
    sleep 1
    xdotool key "$item"
    end=$((SECONDS + LIMIT / 3))
    until "$@"; do
      ((SECONDS < end)) || break
      sleep 0.1
    done
    "$@" && return 0
    xdotool key Escape Escape
  done
  return 1
}

# The centre of a main-window control, from its place in the client area (below the menu bar).
main=""
control() {
  geometry "$main"
  local menu=$((H - 490)) left=$1 top=$2 width=$3 height=$4
  click $((X + left + width / 2)) $((Y + menu + top + height / 2))
}
press_new_data() { control 8 320 105 25; }
press_open_data() { control 120 320 115 25; }
press_save_data() { control 240 320 113 25; }
press_save_result() { control $((368 + 328)) 320 97 25; }
press_solve() { control 8 376 793 25; }

# A window of fixed size: no resizing or maximising offered, and the window manager agrees.
check_fixed_window() {
  local id=$1 what=$2 functions decorations actions
  functions=$(motif "$id" 2)
  decorations=$(motif "$id" 3)
  (((functions & 0x12) == 0)) || fail "$what: the Motif hints offer resizing or maximising ($functions)"
  (((decorations & 0x44) == 0)) || fail "$what: the Motif hints draw a resize handle or maximise button ($decorations)"
  actions=$(property "$id" _NET_WM_ALLOWED_ACTIONS)
  [[ $actions != *MAXIMIZE* && $actions != *RESIZE* ]] || fail "$what: the window manager allows $actions"
  [ "$(property "$id" WM_CLASS)" = '"trevana2023", "Trevana2023"' ] ||
    fail "$what: WM_CLASS is $(property "$id" WM_CLASS)"
}

step "a display of its own, a window manager, the program"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
within test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$(head -n1 "$work/display")
unset WAYLAND_DISPLAY QT_QPA_PLATFORM SESSION_MANAGER
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
within wm_running || fail "openbox did not start: $(cat "$work/openbox.log")"

mkdir -p "$work/bin" "$work/data"
cp "$program" "$work/bin/Trevana2023"
printf '4\n3\n8\n1,22\n3,4\n5,6\n7,9\n' >"$work/data/lf.txt"
printf '2\r1\r9\r4,5\r6,7\r' >"$work/data/cr.txt"
printf 'x\n' >"$work/data/lf.txt.bak"
printf '1\n1\n5\n2,3\n' >"$work/data/noext"
(cd "$work" && exec "$work/bin/Trevana2023") >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
main=$(wait_window '^Trevana背包问题计算器2023\.3$')

step "the main window: hints, class, centred frame"
check_fixed_window "$main" "main window"
(( ($(motif "$main" 2) & 0x08) != 0 )) || fail "the main window cannot be minimised"
geometry "$main"
read -r left right top bottom < <(property "$main" _NET_FRAME_EXTENTS | tr -d ,)
frame_x=$((X - left)) frame_y=$((Y - top))
frame_w=$((W + left + right)) frame_h=$((H + top + bottom))
dx=$((2 * frame_x + frame_w - 1280)) dy=$((2 * frame_y + frame_h - 1024))
((dx * dx <= 4 && dy * dy <= 4)) ||
  fail "the frame ${frame_w}x${frame_h}+${frame_x}+${frame_y} is not centred on 1280x1024"

# A file dialog opened by a press: the typed text (pieces typed after a pause), then Enter.
answer_dialog() {
  local title=$1 press=$2 piece pause=0
  shift 2
  "$press"
  wait_window "^$title\$" >/dev/null
  for piece in "$@"; do
    sleep "$pause"
    type_text "$piece"
    pause=1  # the completion list opens as a person pauses
  done
  xdotool key Return
  wait_gone "^$title\$"
}
# Saves the input box under the typed name (relative to the data folder, where the dialog is
# after its first use) and compares the file with the expected bytes (printf's escapes).
expect_saved_input() {
  local file=$1.txt
  [[ $file == /* ]] || file=$work/data/$file
  answer_dialog "Save As" press_save_data "$1"
  wait_file "$file"
  [ "$(od -c "$file")" = "$(printf "$2" | od -c)" ] || fail "$1.txt holds $(od -c "$file" | head -3)"
}

step "open a file by typing its name, the completion list showing, and Enter"
answer_dialog "Open" press_open_data "$work/data/lf" ".txt"
step "the next click reaches the window: Save opens its dialog"
expect_saved_input "$work/data/out1" '4\r\n3\r\n8\r\n1,22\r\n3,4\r\n5,6\r\n7,9\r\n'

step "the next Open offers the last name selected: a typed name replaces it"
answer_dialog "Open" press_open_data "cr.txt"
expect_saved_input out2 '2\r\n1\r\n9\r\n4,5\r\n6,7\r\n'

step "a typed name without an extension that exists is opened as typed"
answer_dialog "Open" press_open_data "noext"
expect_saved_input out3 '1\r\n1\r\n5\r\n2,3\r\n'

step "an error box: owned by the main window, fixed, as wide as its caption needs"
press_new_data
press_solve
box=$(wait_window '^Trevana背包问题计算器2023$')
check_fixed_window "$box" "error box"
[ "$(property "$box" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*')" = "$(printf '0x%x' "$main")" ] ||
  fail "the error box belongs to $(property "$box" WM_TRANSIENT_FOR)"
geometry "$box"
# Openbox cut this caption short in a box 251 pixels wide.
((W >= 260)) || fail "the error box is $W wide, too narrow for its caption"
xdotool key Return
wait_gone '^Trevana背包问题计算器2023$'

step "Enter presses the focused button"
geometry "$main"
click $((X + 100)) $((Y + H - 490 + 100))  # into the input box
type_text "4"; xdotool key Return; type_text "3"; xdotool key Return; type_text "8"
for item in 1,22 3,4 5,6 7,8; do xdotool key Return; type_text "$item"; done
for _ in 1 2 3 4 5 6 7 8 9; do xdotool key Tab; done  # to the first solve button
xdotool key Return
answer_dialog "Save As" press_save_result "report"
wait_file "$work/data/report.txt"
grep -q 'Total Value =26' "$work/data/report.txt" ||
  fail "the report holds no \"Total Value =26\": $(head -c 300 "$work/data/report.txt")"

step "the about box: owned by the main window, minimised together with it"
menu_choice h a viewable '^关于本软件About$' >/dev/null || fail "Help, About showed no about box"
about=$(wait_window '^关于本软件About$')
check_fixed_window "$about" "about box"
(( ($(motif "$about" 2) & 0x08) == 0 )) || fail "the Motif hints offer to minimise the about box"
xdotool windowminimize "$about"
iconic() { xprop -id "$1" WM_STATE | grep -q 'window state: Iconic'; }
within iconic "$main" || fail "minimising the about box left the main window on screen"
xdotool windowactivate "$main" 2>/dev/null || true
normal() { xprop -id "$1" WM_STATE | grep -q 'window state: Normal'; }
within normal "$about" || fail "restoring the main window did not bring the about box back"
xdotool windowactivate --sync "$about" 2>/dev/null || true
xdotool key Return
wait_gone '^关于本软件About$'

step "each menu open, for the record: $out/window_e2e_menu_*.png"
xdotool windowactivate --sync "$main" 2>/dev/null || true
for menu in f s h; do
  xdotool key "alt+$menu"
  sleep 1
  import -window root "$out/window_e2e_menu_$menu.png"
  xdotool key Escape
  sleep 0.5
done

step "one Esc after a menu gives the keyboard back: typed text goes into the input box"
press_new_data
geometry "$main"
click $((X + 100)) $((Y + H - 490 + 100))  # into the input box
type_text "7"
xdotool key alt+f
sleep 1
xdotool key Escape
sleep 0.5
type_text "5"
expect_saved_input "$work/data/after-menu" '75'

step "leave by the File menu"
xdotool windowactivate --sync "$main" 2>/dev/null || true
exited() { ! kill -0 "$program_pid" 2>/dev/null; }
menu_choice f e exited || fail "File, Exit did not end the program"
status=0
wait "$program_pid" || status=$?
((status == 0)) || fail "the program ended with status $status"
grep -q 'bChinese=1' "$work/bin/Trevana2023.ini" || fail "no settings file beside the program"

step "the close button during a best-packing search stops it, and the program ends"
# Even weights in the millions that are their values, under an odd limit, and one small odd
# item worth little: no pick reaches the bound the search holds (nor does dividing out the
# weights' common factor show it), so it runs to its 10 s limit unless stopped.
awk 'BEGIN { srand(18); print 9999; print 9999; print 1000000001
  for (i = 1; i < 9999; i++) { w = 2 * int(500000 + rand() * 500000); print w "," w }
  print "3,1" }' >"$work/data/hard.txt"
rm -f "$work/bin/Trevana2023.ini"
(cd "$work" && exec "$work/bin/Trevana2023") >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
main=$(wait_window '^Trevana背包问题计算器2023\.3$')
answer_dialog "Open" press_open_data "$work/data/hard.txt"
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool key F5
within viewable '^Trevana背包问题计算器2023$' >/dev/null || fail "F5 showed no progress dialog"
sleep 2
# The main window's close button: the right end of openbox's title bar.
geometry "$main"
read -r left right top bottom < <(property "$main" _NET_FRAME_EXTENTS | tr -d ,)
closed_at=$SECONDS
click $((X + W - 10)) $((Y - top / 2))
end=$((SECONDS + 5))
while kill -0 "$program_pid" 2>/dev/null && ((SECONDS < end)); do sleep 0.1; done
exited || fail "the program is still open 5 s after its close button was clicked during a search"
echo "ended $((SECONDS - closed_at)) s after the click"
status=0
wait "$program_pid" || status=$?
((status == 0)) || fail "the program ended with status $status"
grep -q 'bChinese=1' "$work/bin/Trevana2023.ini" || fail "no settings file after closing during a search"
echo "PASS"
