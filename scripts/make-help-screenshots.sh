#!/usr/bin/env bash
# Makes the screenshots of the help pages from the editor itself, in English
# and in Chinese: a clip made with ffmpeg, the editor under Xvfb with openbox,
# three subtitles made with the keys as a user makes them, the timing strip
# with the clip's sound and the subtitles on it, the menus (the list's with its
# Timing submenu), the style and output settings windows and the About window.
# Writes data/help/<language>/images/*.png.
#
#   scripts/make-help-screenshots.sh [BUILD_DIR]
#
# Needs: Xvfb, openbox, xdotool, ImageMagick, ffmpeg; pngquant when present.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
program="$build/bin/orlisk"
[[ -x $program ]] || { echo "build the editor first: $program" >&2; exit 1; }

source scripts/lib/own-display.sh  # we stand in the project folder

# The sound comes in phrases with pauses between them, as speech does, so that
# the timing strip shows its waveform in runs and silences.
ffmpeg -hide_banner -loglevel error -y \
  -f lavfi -i "testsrc2=size=640x360:rate=25:duration=30,eq=brightness=-0.12:saturation=0.55" \
  -f lavfi -i "aevalsrc=0.8*gt(mod(t\,3.2)\,1.0)*(0.35+0.3*abs(sin(2*PI*2.3*t))+0.25*abs(sin(2*PI*0.11*t)))*sin(2*PI*220*t):s=44100:d=30" \
  -c:v mpeg4 -q:v 3 -c:a libmp3lame -shortest "$work/clip.avi"

# The main window's client area is moved to (10, 30); its frame starts at (9, 11).
# Clicks are in client coordinates, crops in the screen's.
X0=10
Y0=30
click() { xdotool mousemove $((X0 + $1)) $((Y0 + $2)) click "${3:-1}"; sleep 0.6; }
shot() {
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "$2" +repage "$1"
  if [[ -n ${HELP_SHOTS_DEBUG:-} ]]; then cp "$work/screen.png" "$HELP_SHOTS_DEBUG/$(basename "$(dirname "$(dirname "$1")")")-$(basename "$1")"; fi
}
# Drags the subtitle from the band at client y=$2 to client y=$3 (x=$1).
drag() {
  local x=$((X0 + $1)) from=$((Y0 + $2)) to=$((Y0 + $3)) y
  xdotool mousemove "$x" "$from"; sleep 0.2
  xdotool mousedown 1; sleep 0.1
  # The drag starts on a move with the button held while the mouse is on the text.
  xdotool mousemove "$x" $((from + 1)); sleep 0.05
  xdotool mousemove "$x" $((from + 2)); sleep 0.05
  for ((y = from; y != to; y += (to > from ? 10 : -10))); do
    if (( (to > from && y > to) || (to < from && y < to) )); then break; fi
    xdotool mousemove "$x" "$y"; sleep 0.04
  done
  xdotool mousemove "$x" "$to"; xdotool mouseup 1; sleep 0.3
}
# Characters outside the keyboard map are typed through a remapped key, which
# needs time between characters to arrive whole.
say() { xdotool type --delay 250 "$1"; sleep 1; }
# The editor's popup menus (and tooltips) on screen, "x y w h" a line: they
# are the mapped windows straight on the root, as the window manager frames
# every other window.
popups() {
  local id
  for id in $(xwininfo -root -children | awk '/^ +0x/ && /"orlisk"/ {print $1}'); do
    xwininfo -id "$id" | awk '/Map State: IsViewable/ {shown = 1} /Absolute upper-left X/ {x = $4}
                             /Absolute upper-left Y/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2}
                             END {if (shown) print x, y, w, h}'
  done
}
# The open menus with a margin of $2 pixels around them, and the screen's
# point ($3, $4) when given (the menu bar they came from).
shot_menus() {
  local box
  box=$(popups | awk -v m="$2" -v px="${3:-}" -v py="${4:-}" '
    NR == 1 {l = $1; t = $2; r = $1 + $3; b = $2 + $4}
    {if ($1 < l) l = $1; if ($2 < t) t = $2; if ($1 + $3 > r) r = $1 + $3; if ($2 + $4 > b) b = $2 + $4}
    END {
      if (NR == 0) exit 1
      l -= m; t -= m; r += m; b += m
      if (l < 0) l = 0
      if (t < 0) t = 0
      if (px != "" && px < l) l = px
      if (py != "" && py < t) t = py
      printf "%dx%d+%d+%d", r - l, b - t, l, t
    }') || { echo "no menu open for $1" >&2; exit 1; }
  shot "$1" "$box"
}
# Nothing but the main window and the dialog at hand: a tooltip or a menu
# left open would cover what the picture shows.
no_popups() {
  [[ -z $(popups) ]] || { echo "a menu or tooltip is open before $1" >&2; exit 1; }
}

# A dialog by its caption, with openbox's frame (one pixel, a 19-pixel title).
shot_dialog() {
  local id x y w h
  # The dialog is the active window once it is up; its name is compared here
  # rather than by xdotool's pattern, which does not take Chinese captions.
  for _ in $(seq 50); do
    id=$(xdotool getactivewindow 2>/dev/null || true)
    [[ -n $id && $(xdotool getwindowname "$id" 2>/dev/null) == "$1" ]] && break
    id=
    sleep 0.2
  done
  [[ -n $id ]] || { echo "no window \"$1\"" >&2; exit 1; }
  eval "$(xwininfo -id "$id" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
                                   /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
  no_popups "$2"
  shot "$2" "$((w + 2))x$((h + 21))+$((x - 1))+$((y - 20))"
}

run_language() {
  local folder=$1 locale=$2 videos=$3 stylex=$4 settingsx=$5 helpx=$6 line1=$7 line2=$8 line3=$9
  local styleCaption=${10} settingsCaption=${11} aboutCaption=${12}
  local out=data/help/$folder/images home=$work/home-$folder
  mkdir -p "$out" "$home/tmp" "$home/.config"
  # The output folder as a user's own, not the temporary home's.
  printf '[Output]\r\nPath=%s\r\n' "$videos" >"$home/.config/orlisk.ini"
  # A home and a temporary folder of its own: fresh settings, and a
  # single-instance lock apart from any editor already running for this user.
  HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share TMPDIR=$home/tmp \
    LANG=$locale LC_ALL=$locale SDL_AUDIODRIVER=dummy "$program" >/dev/null 2>&1 &
  local app=$!
  pids+=($app)
  sleep 3
  local window
  window=$(timeout 20 xdotool search --sync --name "^Veldrane Orlisk$" | head -1)
  [[ -n $window ]] || { echo "the editor's window did not appear" >&2; exit 1; }
  xdotool windowmove "$window" $X0 $Y0
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  sleep 0.5

  xdotool key ctrl+o; sleep 1  # "Open Video File"
  xdotool type --delay 10 "$work/clip.avi"; xdotool key Return; sleep 1.5
  xdotool key F2; sleep 2.2
  xdotool key F3; sleep 1; xdotool key Return; sleep 0.5  # the hint after the first insert
  say "$line1"
  xdotool key F2; sleep 1.8; xdotool key F4; sleep 1.2
  xdotool key F3; sleep 0.6
  say "$line2"
  drag 140 456 240
  xdotool key F2; sleep 2.5; xdotool key F4; sleep 1.0
  xdotool key F3; sleep 0.6
  drag 140 209 456
  # The mouse off the window, where it raises no tooltip.
  xdotool mousemove 1240 450
  say "$line3"
  no_popups window.png
  shot "$out/window.png" 990x886+9+11
  # The strip alone, zoomed in around the play position on the subtitles made.
  xdotool key ctrl+equal; sleep 0.8
  shot "$out/strip.png" 988x100+$X0+$((Y0 + 765))

  click 640 300 3  # the list's own menu
  shot_menus "$out/listmenu.png" 4
  # Its last item, "Timing", opened.
  xdotool key Up; sleep 0.3; xdotool key Right; sleep 0.6
  shot_menus "$out/timingmenu.png" 4
  xdotool key Escape; sleep 0.3; xdotool key Escape; sleep 0.3
  click 38 19  # "File"
  shot_menus "$out/filemenu.png" 8 $X0 $Y0
  xdotool key Escape; sleep 0.3
  click "$helpx" 19  # "Help"
  shot_menus "$out/helpmenu.png" 8 $((X0 + helpx - 40)) $Y0
  # "About", the last item of the Help menu.
  xdotool key Up; sleep 0.2; xdotool key Return; sleep 0.8
  shot_dialog "$aboutCaption" "$out/about.png"
  xdotool key Escape; sleep 0.3
  click "$stylex" 19  # "Style"
  shot_dialog "$styleCaption" "$out/style.png"
  xdotool key Escape; sleep 0.3
  click "$settingsx" 19  # "Settings"
  shot_dialog "$settingsCaption" "$out/settings.png"
  # The last page, MP4/MKV.
  xdotool key ctrl+shift+Tab; sleep 0.5
  shot_dialog "$settingsCaption" "$out/settings-mp4mkv.png"
  xdotool key Escape; sleep 0.3

  # The finished subtitles over the picture: "Subtitle Preview", then play from the start.
  xdotool key F6; sleep 0.5
  click 183 722
  xdotool key F2; sleep 6.6; xdotool key F5; sleep 0.5
  shot "$out/preview.png" 566x318+30+214

  kill "$app"
  wait "$app" 2>/dev/null || true
}

for language in ${HELP_LANGUAGES:-en zh_CN}; do
  case $language in
    en) run_language en en_US.UTF-8 /home/user/Videos 94 158 278 "Hello, and welcome." "This line was dragged to the top." \
          "Press F2 to go on, F4 to end the line." "Subtitle Settings" "Settings" "About" ;;
    zh_CN) run_language zh_CN zh_CN.UTF-8 /home/user/视频 89 141 245 "你好，欢迎收看。" "这一行被拖到了画面上方。" \
          "按 F2 继续播放，按 F4 结束这一行。" "字幕设置" "设置" "关于" ;;
  esac
done

if command -v pngquant >/dev/null; then
  pngquant --force --ext .png --quality 70-95 --skip-if-larger data/help/*/images/*.png || true
fi
du -ch data/help/*/images/*.png | tail -1
