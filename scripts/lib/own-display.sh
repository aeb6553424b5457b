# Sourced by the scripts that drive the editor on screen. Gives them a
# temporary folder ($work) and an X display of their own with a window
# manager: Xvfb picks a free number and writes it down, so the keys and
# clicks sent never reach another X server on this machine. Everything
# started here, and anything the script adds to `pids`, ends with the script.
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 1 -screen 0 1280x900x24 >"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$(head -1 "$work/display")
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
