# A throw-away desktop for the desktop tests and the headless run: Xvfb, openbox, a trayer
# panel as the system tray, and a PulseAudio server with a null sink.  Source it, then call
# start_desktop_session and stop_desktop_session.

session_pids=()

start_desktop_session() {
    session_dir=$(mktemp -d /tmp/zembrola-session-XXXXXX)
    export XDG_RUNTIME_DIR="$session_dir/runtime"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"

    # A display number nobody uses (the machine may run a user's session or another test run):
    # Xvfb picks it and says which, unless one is asked for.
    if [ -n "${ZEMBROLA_DISPLAY:-}" ]; then
        Xvfb ":$ZEMBROLA_DISPLAY" -screen 0 1280x800x24 -nolisten tcp >"$session_dir/xvfb.log" 2>&1 &
        echo "$ZEMBROLA_DISPLAY" >"$session_dir/display"
    else
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$session_dir/display" \
            >"$session_dir/xvfb.log" 2>&1 &
    fi
    session_pids+=($!)
    for _ in $(seq 100); do [ -s "$session_dir/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -1 "$session_dir/display")"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

    openbox >"$session_dir/openbox.log" 2>&1 &
    session_pids+=($!)
    trayer --edge top --align right --widthtype request --height 32 --SetDockType true \
        >"$session_dir/trayer.log" 2>&1 &
    session_pids+=($!)

    # Sound goes nowhere audible: a null sink whose monitor the tests can record.
    export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
    pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
        --load="module-native-protocol-unix" --load="module-null-sink sink_name=zembrola" \
        --load="module-always-sink" >"$session_dir/pulse.log" 2>&1 &
    session_pids+=($!)
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl set-default-sink zembrola >/dev/null 2>&1 || true
    export ZEMBROLA_DESKTOP_SESSION=1
}

stop_desktop_session() {
    local pid
    for pid in "${session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${session_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    session_pids=()
    rm -rf "$session_dir"
}
