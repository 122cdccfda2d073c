# Sourced by the end-to-end tests: a private X server with a window manager, a private home,
# and helpers to drive the program as a person would and keep screenshots.
set -euo pipefail

E2E_TMP=$(mktemp -d)
E2E_ART=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}/${E2E_NAME:-e2e}
mkdir -p "$E2E_ART"
export HOME=$E2E_TMP/home XDG_CONFIG_HOME=$E2E_TMP/home/.config XDG_CACHE_HOME=$E2E_TMP/home/.cache
export XDG_RUNTIME_DIR=$E2E_TMP/run
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
unset windir QT_QPA_PLATFORM || true
# Leak reports from the toolkit's libraries at exit are not what these tests look at.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

e2e_cleanup() {
  [ -n "${E2E_APP:-}" ] && kill "$E2E_APP" 2>/dev/null || true
  [ -n "${E2E_WM:-}" ] && kill "$E2E_WM" 2>/dev/null || true
  [ -n "${E2E_X:-}" ] && kill "$E2E_X" 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# A display number nobody uses.
for n in $(seq 90 140); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { E2E_DISPLAY=:$n; break; }
done
export DISPLAY=$E2E_DISPLAY
Xvfb "$DISPLAY" -screen 0 "${E2E_SCREEN:-1280x800}x24" -nolisten tcp >/dev/null 2>&1 & E2E_X=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 & E2E_WM=$!
sleep 0.5

shot() { import -window root "$E2E_ART/$1.png"; }
fail() { shot failure || true; echo "FAIL: $*"; exit 1; }
# Waits until a window whose title matches is shown, and prints its id.
window() { timeout "${2:-20}" xdotool search --sync --onlyvisible --name "$1" | head -1; }
gone() { for _ in $(seq 100); do xdotool search --onlyvisible --name "$1" >/dev/null || return 0; sleep 0.1; done; return 1; }
# Clicks the point x,y of a window's inside (relative to its top-left corner).
click_in() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}
