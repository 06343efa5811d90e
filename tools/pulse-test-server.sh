#!/usr/bin/env bash
# Runs a command against a private PulseAudio server whose default output is a null
# sink and whose default input is that sink's monitor, so audio played comes back when
# recorded. The server is stopped on every exit path; the command's status is returned.
#   tools/pulse-test-server.sh COMMAND [ARGS...]
# The command sees XDG_RUNTIME_DIR of the private server and KELMOR_SOUND_SERVER=1,
# which tells the sound tests to fail rather than skip when no device is found.
set -euo pipefail

[ $# -gt 0 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
command -v pulseaudio >/dev/null || { echo "$0: pulseaudio is not installed (make deps)" >&2; exit 2; }

runtime=$(mktemp -d /tmp/kelmor-pulse.XXXXXX)
chmod 700 "$runtime"
keeper=""

stop_server() {
    if [ -n "$keeper" ]; then
        kill "$keeper" 2>/dev/null || true
        wait "$keeper" 2>/dev/null || true
    fi
    local pidfile="$runtime/pulse/pid"
    if [ -f "$pidfile" ]; then
        local pid
        pid=$(cat "$pidfile")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -rf "$runtime"
}
trap stop_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

export XDG_RUNTIME_DIR="$runtime"
unset PULSE_SERVER
cat >"$runtime/test.pa" <<'PA'
.fail
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=testsink sink_properties=device.description=TestSink
load-module module-remap-source master=testsink.monitor source_name=testmic source_properties=device.description=TestMic
set-default-sink testsink
set-default-source testmic
PA

pulseaudio --daemonize=yes -n -F "$runtime/test.pa" --exit-idle-time=-1 --use-pid-file=yes \
    --log-target="file:$runtime/pulse.log"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "$0: the sound server did not start" >&2; cat "$runtime/pulse.log" >&2; exit 1; }

# A reader on the monitor keeps the null sink in real time, and one suspend and resume
# makes the first playback start on time.
parec --latency-msec=10 -d testsink.monitor --raw >/dev/null &
keeper=$!
for _ in $(seq 100); do [ -n "$(pactl list short source-outputs)" ] && break; sleep 0.05; done
pactl suspend-sink testsink 1
pactl suspend-sink testsink 0

export KELMOR_SOUND_SERVER=1
status=0
"$@" || status=$?
exit "$status"
