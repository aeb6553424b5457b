#!/usr/bin/env bash
# Recovery after a crash, with the editor itself: under Xvfb and openbox, the
# editor opens a clip, three subtitles are typed with the keys as a user types
# them, and the editor is killed with SIGKILL in the middle of the third. A
# second start must ask whether to restore them; the question is saved as a
# screenshot, Yes is pressed, and the restored list is saved to a file whose
# rows are compared with what was typed.
#
#   scripts/crash-recovery-demo.sh [BUILD_DIR] [OUTPUT_FOLDER]
#
# ORLISK_DEMO_LOCALE=zh_CN.UTF-8 runs it with the Chinese interface.
# Needs: Xvfb, openbox, xdotool, ImageMagick, ffmpeg.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-crash-recovery}")
program="$build/bin/orlisk"
[[ -x $program ]] || { echo "build the editor first: $program" >&2; exit 1; }
mkdir -p "$out"

source scripts/lib/own-display.sh  # we stand in the project folder

ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=640x360:rate=25:duration=30" \
  -f lavfi -i "sine=frequency=330:duration=30" -c:v mpeg4 -q:v 3 -c:a libmp3lame -shortest "$work/clip.avi"

home=$work/home
locale=${ORLISK_DEMO_LOCALE:-en_US.UTF-8}
mkdir -p "$home/tmp" "$home/.config"
X0=10
Y0=30
start_editor() {
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share TMPDIR=$home/tmp \
    LANG=$locale LC_ALL=$locale SDL_AUDIODRIVER=dummy "$program" >"$work/editor.log" 2>&1 &
  app=$!
  pids+=($app)
  local window
  window=$(timeout 20 xdotool search --sync --name "^Veldrane Orlisk$" | head -1)
  [[ -n $window ]] || { echo "the editor's window did not appear" >&2; exit 1; }
  xdotool windowmove "$window" $X0 $Y0
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  sleep 1
}

start_editor
xdotool key ctrl+o; sleep 1  # "Open Video File"
xdotool type --delay 10 "$work/clip.avi"; xdotool key Return; sleep 1.5
xdotool key F2; sleep 1.5
xdotool key F3; sleep 1; xdotool key Return; sleep 0.5  # the hint after the first insert
xdotool type --delay 60 "First line, typed whole."
xdotool key F2; sleep 1.2; xdotool key F4; sleep 0.8
xdotool key F3; sleep 0.6
xdotool type --delay 60 "Second line."
xdotool key F2; sleep 1.2; xdotool key F4; sleep 0.8
xdotool key F3; sleep 0.6
xdotool type --delay 60 "Third, killed while"
# Killed in the middle of typing: the last keys are still arriving.
xdotool type --delay 60 " typing" &
typing=$!
sleep 0.2
kill -9 "$app"
wait "$app" 2>/dev/null || true
wait "$typing" 2>/dev/null || true
echo "journals left: $(ls "$home/.local/share/orlisk" | grep -c journal)"

start_editor
sleep 1
import -window root "$out/recovery-question.png"
question=$(timeout 10 xdotool search --sync --name "^Information$" | head -1)
[[ -n $question ]] || { echo "no recovery question appeared" >&2; exit 1; }
xdotool windowactivate --sync "$question" 2>/dev/null || true
xdotool key Return; sleep 1.5  # "Yes" is the default button
import -window root "$out/restored.png"
# Restored work is in no file yet: the title says so.
echo "title: $(xdotool getwindowname "$(xdotool getactivewindow)")"

# Save the restored list and compare its rows with what was typed.
xdotool key ctrl+s; sleep 1  # "Save Subtitle File"
# The third subtitle never got its end: the editor offers one first ("Yes").
xdotool key Return; sleep 1
xdotool key ctrl+a; xdotool type --delay 10 "$work/restored"; xdotool key Return; sleep 1.5
cp "$work/restored.srt" "$out/restored.srt"
tr -d '\r' <"$out/restored.srt" | grep -v -e '^ $' -e '^[0-9]*$' -e ' --> ' >"$work/texts"
printf '%s\n' "First line, typed whole." "Second line." >"$work/expected"
head -2 "$work/texts" | diff - "$work/expected"
third=$(sed -n 3p "$work/texts")
case "$third" in
  "Third, killed while"*) echo "restored: 3 rows; the third reads \"$third\"" ;;
  *) echo "the third row was not restored: \"$third\"" >&2; exit 1 ;;
esac
