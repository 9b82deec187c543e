#!/usr/bin/env bash
# Velmora as a user drives it: the built program in a real X server (Xvfb),
# real keys and clicks from xdotool, and the rows in velmora.mdb checked
# afterwards. Screenshots go to shots/ (the best are in README.md).
#   tests/e2e/run.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
shots="$here/shots"
mkdir -p "$shots"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A state folder of its own: no grid kept by an earlier run comes back.
export XDG_STATE_HOME="$work/state"
"$build/tools/velmora-mkdb" "$work/velmora.mdb" --demo >/dev/null

cat >"$work/drive.sh" <<'DRIVE'
set -euo pipefail
work="$1"; build="$2"; shots="$3"
cd "$work"
fail() { echo "e2e: FAILED: $*" >&2; exit 1; }
sql() { sqlite3 "$work/velmora.mdb" "$1"; }
win() {  # waits for a window whose title matches $1, prints its id
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
gone() { for _ in $(seq 1 50); do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done; return 1; }
# Clicks at a place in a window's client area; $4 is the height of what lies
# above the client area (the menu bar).
click() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $4 + $3)) click 1
  sleep 0.3
}
shot() { import -window "${2:-root}" "$shots/$1.png"; }  # $2: a window, else the screen
# 1 when square $2 of the simulator window $1 shows dark text, else 0.
ink() {
  import -window "$1" "$work/ink.png"
  convert "$work/ink.png" -crop 17x17+$((28 * (($2 - 1) % 15) + 6))+$((28 * (($2 - 1) / 15) + 6)) +repage \
    -colorspace Gray -format "%[fx:minima < 0.4 ? 1 : 0]" info:
}

"$build/app/velmora" &
app=$!
version=$("$build/app/velmora" --version | sed -n 's/^velmora //p')
main=$(win "^Velmora $version") || fail "the main window did not open"
eval "$(xdotool getwindowgeometry --shell "$main")"
bar=$((HEIGHT - 365))
xdotool windowfocus --sync "$main"

# A stored word shows its details.
xdotool type --delay 50 "big"
sleep 0.5
shot main "$main"

# A pattern search, and a pick from its results with the keyboard.
xdotool key --delay 50 BackSpace BackSpace BackSpace
xdotool type --delay 50 "sea*"
res=$(win "^Lookup results for the word") || fail "the results window did not open"
sleep 0.5
shot results "$res"
xdotool key Down
gone "^Lookup results for the word" || fail "the pick did not close the results window"
sleep 0.3

# Save a synonym with Enter in the synonym field, then erase it.
xdotool windowfocus --sync "$main"
xdotool key Tab
xdotool type --delay 50 "zz"
xdotool key Return
sleep 0.5
[ "$(sql "SELECT count(*) FROM T_OrdSynonym WHERE (Ord='SEA' AND Synonym='ZZ') OR (Ord='ZZ' AND Synonym='SEA')")" = 2 ] \
  || fail "the synonym pair SEA/ZZ was not saved"
click "$main" 390 76 "$bar"         # the shortest synonym comes first: ZZ
click "$main" 579 84 "$bar"         # erase the synonym
win "^Velmora$" >/dev/null || fail "no question before erasing"
xdotool key Return                  # Yes
sleep 0.5
[ "$(sql "SELECT count(*) FROM T_OrdSynonym WHERE Ord='ZZ' OR Synonym='ZZ'")" = 0 ] || fail "the synonym pair was not erased"
[ "$(sql "SELECT count(*) FROM T_Ord WHERE Ord='ZZ'")" = 1 ] || fail "erasing the synonym erased its word"

# Escape in the question before erasing a word is No: the word stays.
click "$main" 275 60 "$bar"         # erase the word SEA
win "^Velmora$" >/dev/null || fail "no question before erasing a word"
xdotool key Escape
gone "^Velmora$" || fail "Escape did not close the question"
sleep 0.5
[ "$(sql "SELECT count(*) FROM T_Ord WHERE Ord='SEA'")" = 1 ] || fail "Escape (No) erased the word"

# The simulator: square 1 gets the across clue BIG with 4 letters.
xdotool windowfocus --sync "$main"
sleep 0.3
xdotool key ctrl+s
sim=$(win "^Velmora Simulator 1.1 Beta") || fail "the simulator did not open"
click "$sim" 14 14 0
dlg=$(win "^Properties of this square") || fail "the square dialog did not open"
xdotool windowfocus --sync "$dlg"
xdotool type --delay 50 "big"
click "$dlg" 160 31 0               # the across letter count
xdotool key --delay 80 Down Down Down Down Down   # entries 0..4
click "$dlg" 262 40 0               # Done!
gone "^Properties of this square" || fail "Done! did not close the dialog"
click "$sim" 220 450 0              # Simulate
sleep 0.5
shot simulator "$sim"
# Ctrl+Z takes the simulation back: square 2 (the answer's first letter) is
# empty again while square 1 keeps its clue mark.
[ "$(ink "$sim" 2)" = 1 ] || fail "Simulate wrote no letter into square 2"
xdotool windowfocus --sync "$sim"
xdotool key ctrl+z
sleep 0.5
[ "$(ink "$sim" 2)" = 0 ] || fail "Ctrl+Z did not take the simulated word back"
[ "$(ink "$sim" 1)" = 1 ] || fail "Ctrl+Z took back more than the simulation"

# Ctrl+S saves the grid through the file dialog; Ctrl+Z then takes the
# clue square back, and Ctrl+O opens the saved grid with it again.
xdotool key ctrl+s
dlg=$(win "^Save grid as") || fail "Ctrl+S did not open the save dialog"
xdotool windowfocus --sync "$dlg"
xdotool type --delay 30 "$work/evening"
xdotool key Return
gone "^Save grid as" || fail "the save dialog did not close"
sleep 0.5
grep -Eq '"clue": ?"BIG"' "$work/evening.ipuz" || fail "the saved grid has no clue BIG"
grep -Eq '"version": ?"http://ipuz.org/v2"' "$work/evening.ipuz" || fail "the saved grid is no ipuz v2"
xdotool windowfocus --sync "$sim"
xdotool key ctrl+z
sleep 0.5
[ "$(ink "$sim" 1)" = 0 ] || fail "Ctrl+Z did not take the clue square back"
xdotool key ctrl+o
dlg=$(win "^Open grid") || fail "Ctrl+O did not open the open dialog"
xdotool windowfocus --sync "$dlg"
xdotool type --delay 30 "$work/evening.ipuz"
xdotool key Return
gone "^Open grid" || fail "the open dialog did not close"
sleep 0.5
[ "$(ink "$sim" 1)" = 1 ] || fail "Ctrl+O did not bring the saved clue square back"
shot opened "$sim"
# Ctrl+E exports the puzzle and its solution as a PDF.
xdotool windowfocus --sync "$sim"
xdotool key ctrl+e
dlg=$(win "^Export as PDF") || fail "Ctrl+E did not open the export dialog"
xdotool windowfocus --sync "$dlg"
xdotool type --delay 30 "$work/evening.pdf"
xdotool key Return
gone "^Export as PDF" || fail "the export dialog did not close"
sleep 0.5
pdftotext -f 1 -l 1 "$work/evening.pdf" - | grep -q BIG || fail "the PDF's first page has no clue BIG"
[ "$(pdfinfo "$work/evening.pdf" | awk '/^Pages:/ {print $2}')" = 2 ] || fail "the PDF has not two pages"
# Ctrl+F fills the grid: BIG's answer goes into squares 2 to 5 with no
# message and nothing written to the word database; Ctrl+Z takes it back.
rows=$(sql "SELECT (SELECT count(*) FROM T_Ord) || '/' || (SELECT count(*) FROM T_OrdSynonym)")
xdotool windowfocus --sync "$sim"
xdotool key ctrl+f
sleep 1
[ "$(ink "$sim" 2)" = 1 ] && [ "$(ink "$sim" 5)" = 1 ] || fail "Fill grid did not write BIG's answer"
if xdotool search --onlyvisible --name "^Velmora$" >/dev/null 2>&1; then fail "Fill grid showed a message"; fi
shot filled "$sim"
[ "$(sql "SELECT (SELECT count(*) FROM T_Ord) || '/' || (SELECT count(*) FROM T_OrdSynonym)")" = "$rows" ] \
  || fail "Fill grid changed the word database"
xdotool key ctrl+z
sleep 0.5
[ "$(ink "$sim" 2)" = 0 ] || fail "Ctrl+Z did not take the fill back"
[ "$(ink "$sim" 1)" = 1 ] || fail "Ctrl+Z took back more than the fill"
# Words that fit… on square 3 of BIG's answer: a window beside the
# simulator; a click writes the word into squares 2 to 5, which Ctrl+Z
# takes back as one step.
eval "$(xdotool getwindowgeometry --shell "$sim")"
xdotool mousemove $((X + 70)) $((Y + 14)) click 3
sleep 0.5
xdotool key --delay 80 Up Up Up Up Up Return
fit=$(win "^Words that fit \?\?\?\?") || fail "Words that fit… did not open"
click "$fit" 40 66 0                # the first word
[ "$(ink "$sim" 2)" = 1 ] && [ "$(ink "$sim" 5)" = 1 ] || fail "the word that fits was not written"
shot fitwords
xdotool windowfocus --sync "$sim"
xdotool key ctrl+z
sleep 0.5
[ "$(ink "$sim" 2)" = 0 ] || fail "Ctrl+Z did not take the pick back"
xdotool windowmove "$fit" 0 0    # out of the way of the clicks that follow
xdotool windowfocus --sync "$main"
sleep 0.3
xdotool key ctrl+i
sleep 1
intro=$(xdotool getwindowfocus)
shot intro "$intro"
# No title text: not even the program's name, which Qt gives an empty title.
names=$(xprop -id "$intro" _NET_WM_NAME WM_NAME)
{ echo "$names" | grep -qx '_NET_WM_NAME(UTF8_STRING) = ""' && ! echo "$names" | grep -q Velmora; } \
  || fail "the intro window has a title: $names"
sleep 5

# A category typed into the box is linked as typed: "sp" is not completed
# to SPEED or SPORT.
xdotool windowfocus --sync "$main"
sleep 0.3
click "$main" 400 224 "$bar"        # the category box
xdotool type --delay 50 "sp"
click "$main" 579 240 "$bar"        # save the category link
[ "$(sql "SELECT Kategori FROM T_OrdKategori WHERE Ord='SEA' ORDER BY Kategori")" = "$(printf 'GEOGRAPHY\nNATURE\nSP')" ] \
  || fail "typing sp linked $(sql "SELECT group_concat(Kategori) FROM T_OrdKategori WHERE Ord='SEA'")"

# Ctrl+F4 ends the program at once.
xdotool windowfocus --sync "$main"
xdotool key ctrl+F4
for _ in $(seq 1 50); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
kill -0 $app 2>/dev/null && fail "Exit did not end the program"
wait $app || fail "the program ended with status $?"
[ "$(sql "PRAGMA integrity_check")" = ok ] || fail "the word database is damaged"
echo "e2e: passed"
DRIVE

xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/drive.sh" "$work" "$build" "$shots"
