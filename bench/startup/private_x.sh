# shellcheck shell=bash
# Sourced by the start-up benchmarks (bash): makes the work folder $work, removed at exit, and
# starts a private X server on the first free display number (Xvfb writes it to fd 3), which
# DISPLAY then names for the programs started from here.
#   source private_x.sh NAME      (the work folder is /tmp/NAME.XXXXXX)
command -v Xvfb >/dev/null || { echo "$0: Xvfb is not installed (tools/install-deps.sh)" >&2; exit 2; }

work=$(mktemp -d "/tmp/$1.XXXXXX")
xserver=""
cleanup() {
    if [ -n "$xserver" ]; then
        kill "$xserver" 2>/dev/null || true
        wait "$xserver" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

exec 3>"$work/display"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
xserver=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "$0: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
