#!/bin/bash
# orlisk-burn killed with SIGKILL at random moments: what is left, under which
# name, and whether it plays.
#
#   burn-kill-harness.sh ORLISK_BURN [KILLS_PER_FORMAT=10] [CLIP_SECONDS=20] [--check]
#
# For each of MP4 (the source's own container: H.264 and AAC, fragmented),
# AVI and MPEG: one whole burn to time it, then KILLS burns killed at random
# moments between 5 % and 95 % of that time. After each kill it prints what is
# under the final name, the partial's name and size, and the frames ffmpeg
# decodes from the partial with the error lines it prints; the next burn in
# the folder must have removed the dead partial before it. A last whole burn
# must take the final name (no "New_1") and leave no partial.
#
# A burn that ends by itself before its kill (a busy machine), or that had
# named its whole video when the kill came, is said so and left out. With
# --check it ends with status 1 when a kill left anything else under a final
# name, when a partial killed after half the run decodes no frame, or when a
# dead partial outlives the next burn that got as far as its own. ffmpeg and
# ffprobe make and probe.
set -u
burn=${1:?the orlisk-burn program}
kills=${2:-10}
seconds=${3:-20}
check=${4:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/orlisk-kill-harness-XXXXXX")
trap 'rm -rf "$work"' EXIT
export HOME=$work XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_CONFIG_HOME"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

ffmpeg -v error -f lavfi -i "testsrc2=size=640x360:rate=25:duration=$seconds" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$seconds" \
  -c:v libx264 -preset ultrafast -c:a aac -shortest "$work/clip.mp4" || exit 2
printf '1\r\n00:00:00,500 --> 00:00:%02d,000\r\nKilled at a random moment\r\n' $((seconds - 1)) >"$work/clip.srt"

now() { date +%s.%N; }

# The frames ffmpeg decodes from a file, and the lines of errors it prints.
decoded_frames() {
  ffprobe -v quiet -count_frames -select_streams v:0 -show_entries stream=nb_read_frames -of csv=p=0 "$1" \
    2>/dev/null | head -1
}
decode_errors() { ffmpeg -v error -i "$1" -f null - 2>&1 | wc -l; }

printf '%-5s %5s %-10s %-46s %10s %7s %7s\n' format kill final-name partial bytes frames errors
for format in mp4 avi mpeg; do
  case $format in
    mp4) options=(--format original) ;;
    *) options=(--format "$format") ;;
  esac
  out=$work/out-$format
  mkdir -p "$out"
  final=$out/clip.$format
  started=$(now)
  "$burn" "$work/clip.mp4" "$work/clip.srt" --out-dir "$out" "${options[@]}" >/dev/null 2>&1 || fail "$format: a whole burn"
  whole=$(awk -v a="$started" -v b="$(now)" 'BEGIN { print b - a }')
  whole_frames=$(decoded_frames "$final")
  rm -f "$final"
  previous=
  for ((i = 1; i <= kills; i++)); do
    percent=$((5 + RANDOM % 91))
    "$burn" "$work/clip.mp4" "$work/clip.srt" --out-dir "$out" "${options[@]}" >/dev/null 2>&1 &
    pid=$!
    sleep "$(awk -v w="$whole" -v p="$percent" 'BEGIN { print w * p / 100 }')"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    status=$?
    if ((status != 137)); then
      # Quicker than the first burn (a busy machine): nothing was killed.
      printf '%-5s %4s%% ended by itself first (status %s)\n' "$format" "$percent" "$status"
      rm -f "$out"/clip."$format" "$out"/New_*
      continue
    fi
    partial=$(find "$out" -maxdepth 1 -name ".clip.$format.orlisk-partial-$pid-*" | head -1)
    if [[ -e $final && -z $partial && $(decoded_frames "$final") == "$whole_frames" ]]; then
      # The burn had finished and named its video; the kill found it exiting.
      printf '%-5s %4s%% finished just before its kill\n' "$format" "$percent"
      rm -f "$final"
      continue
    fi
    [[ -e $final ]] && under=$(stat -c %s "$final") || under=nothing
    [[ $under != nothing ]] && fail "$format: a kill at $percent % left $under bytes under the final name"
    if [[ -z $partial ]]; then
      printf '%-5s %4s%% %-10s %-46s %10s %7s %7s\n' "$format" "$percent" "$under" "(none yet)" - - -
      continue
    fi
    # This burn got as far as its own partial: it cleared the folder before.
    [[ -n $previous && -e $previous ]] && fail "$format: the dead partial $previous outlived the next burn"
    bytes=$(stat -c %s "$partial")
    frames=$(decoded_frames "$partial")
    errors=$(decode_errors "$partial")
    printf '%-5s %4s%% %-10s %-46s %10s %7s %7s\n' "$format" "$percent" "$under" "$(basename "$partial")" \
      "$bytes" "${frames:-0}" "$errors"
    ((percent >= 50)) && [[ ${frames:-0} -lt 1 ]] && fail "$format: a kill at $percent % left a partial that does not play"
    previous=$partial
  done
  written=$("$burn" "$work/clip.mp4" "$work/clip.srt" --out-dir "$out" "${options[@]}" 2>/dev/null)
  [[ $written == "$final" ]] || fail "$format: the last burn wrote '$written', not $final"
  left=$(find "$out" -maxdepth 1 -name '.*orlisk-partial-*' | wc -l)
  ((left == 0)) || fail "$format: $left partials left after the last burn"
  echo "$format: whole burn $(printf '%.1f' "$whole") s; last burn -> $(basename "$written"), $(decoded_frames "$final") frames, partials left: $left"
done

if [[ $check == --check ]]; then
  ((failures == 0)) || exit 1
fi
exit 0
