# Real compositors for the desktop tests, each started headless in the test's scratch folder
# with a private session bus (and a private system bus for GNOME Shell).  Source it after
# lib.sh.  After start_gnome or start_kwin, DISPLAY is the compositor's Xwayland.
COMPOSITOR_DIR=$SCRATCH/compositor
mkdir -p "$COMPOSITOR_DIR/services" "$COMPOSITOR_DIR/config" "$COMPOSITOR_DIR/data"
export XDG_CONFIG_HOME=$COMPOSITOR_DIR/config XDG_DATA_HOME=$COMPOSITOR_DIR/data
export GSETTINGS_BACKEND=keyfile
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
START_SECONDS=$SECONDS

# A session bus that activates only the services the desktop itself brings (no dunst).
private_session_bus() {
    local service
    for service in /usr/share/dbus-1/services/*.service; do
        grep -q "^Name=org.freedesktop.Notifications$" "$service" || cp "$service" "$COMPOSITOR_DIR/services/"
    done
    cat >"$COMPOSITOR_DIR/session.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$COMPOSITOR_DIR</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$COMPOSITOR_DIR/services</servicedir>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/><allow own="*"/><allow user="*"/></policy>
</busconfig>
CONF
    eval "$(dbus-daemon --config-file="$COMPOSITOR_DIR/session.conf" --fork --print-address=1 --print-pid=1 |
        { read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS=$address; PIDS+=($pid)"; })"
}

# The compositor's Xwayland display, from its log.
xwayland_display() { grep -o "Using public X11 display :[0-9]*\|Xwayland.*:[0-9]*" "$1" | grep -o ":[0-9]*" | head -1; }

start_gnome() {
    cat >"$COMPOSITOR_DIR/system.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$COMPOSITOR_DIR/system_bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
    <allow own="*"/><allow user="*"/></policy>
</busconfig>
CONF
    local pid
    pid=$(dbus-daemon --config-file="$COMPOSITOR_DIR/system.conf" --fork --print-pid=1)
    PIDS+=("$pid")
    export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$COMPOSITOR_DIR/system_bus
    private_session_bus
    # The test's own helper extension, and no welcome tour or overview at start.
    mkdir -p "$XDG_DATA_HOME/gnome-shell/extensions" "$XDG_CONFIG_HOME/glib-2.0/settings"
    cp -r "$(dirname "${BASH_SOURCE[0]}")/gnome-extension" \
        "$XDG_DATA_HOME/gnome-shell/extensions/zembrola-test@zembrola"
    cat >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile" <<CONF
[org/gnome/shell]
enabled-extensions=['zembrola-test@zembrola'${GNOME_EXTENSIONS:-}]
welcome-dialog-last-shown-version='999'
[org/gnome/desktop/lockdown]
disable-lock-screen=true
CONF
    gnome-shell --headless --wayland --virtual-monitor 1280x800 >"$COMPOSITOR_DIR/gnome.log" 2>&1 &
    PIDS+=($!)
    wait_for 'gdbus call --session --dest org.gnome.Shell.ZembrolaTest --object-path /org/gnome/Shell/ZembrolaTest --method org.gnome.Shell.ZembrolaTest.Ready' 300 ||
        { sed 's/^/  gnome: /' "$COMPOSITOR_DIR/gnome.log" >&2; return 1; }
    gnome_call HideOverview >/dev/null
    DISPLAY=$(xwayland_display "$COMPOSITOR_DIR/gnome.log")
    XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* | head -1)
    export DISPLAY XAUTHORITY
    echo "GNOME Shell ready after $((SECONDS - START_SECONDS)) s on $DISPLAY"
}

gnome_call() { # method [arguments...]
    local method=$1
    shift
    gdbus call --session --dest org.gnome.Shell.ZembrolaTest --object-path /org/gnome/Shell/ZembrolaTest \
        --method "org.gnome.Shell.ZembrolaTest.$method" "$@"
}

# Waits up to five seconds (animations) for the window to be in sight on a picture of the
# screen, which stays in the file.
comes_in_sight() { # window picture
    for _ in $(seq 10); do
        sleep 0.5
        # GNOME may open its overview once more while it settles after start.
        [ "$COMPOSITOR" = gnome ] && gnome_call HideOverview >/dev/null
        screen_shot "$2"
        [ "$(in_sight "$1" "$2")" -gt 30 ] && return 0
    done
    return 1
}

run_compositor_checks() { # the compositor's name
    COMPOSITOR=$1
    local faketime=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
    local data=$SCRATCH/Cal_Data/DataFile.txt
    local began=$SECONDS

    # 1. The calendar window: in sight, with a task-bar entry where there is no tray.
    printf '[settings]\nnotify_advance=0\n' >"$data"
    start_zembrola
    wait_for '[ -n "$(main_window)" ]' 150 || fail "$COMPOSITOR: the calendar window did not appear"
    local main
    main=$(main_window)
    comes_in_sight "$main" "$SCRATCH/$COMPOSITOR-main.png" ||
        { cp "$SCRATCH/$COMPOSITOR-main.png" /tmp/zembrola-$COMPOSITOR-failed.png
          fail "$COMPOSITOR: the calendar window is not in sight (/tmp/zembrola-$COMPOSITOR-failed.png)"; }
    wait_for '[ "$(xdotool getactivewindow 2>/dev/null)" = "$((main))" ]' 50 ||
        fail "$COMPOSITOR: the calendar has no keyboard focus after start ($(xdotool getactivewindow 2>&1))"
    if [ "${TRAY:-no}" = no ] && states "$main" | grep -q _NET_WM_STATE_SKIP_TASKBAR; then
        fail "$COMPOSITOR: no tray, yet the window has no task-bar entry"
    fi

    # 2. The title bar drags the window.
    local x y
    read -r x y <<<"$(position "$main")"
    xdotool mousemove $((x + 170)) $((y + 12)) mousedown 1
    for step in 1 2 3 4 5; do xdotool mousemove $((x + 170 + step * 16)) $((y + 12 + step * 10)); sleep 0.05; done
    xdotool mouseup 1
    wait_for '[ "$(position "$main")" = "$((x + 80)) $((y + 50))" ]' 20 ||
        fail "$COMPOSITOR: dragged to $(position "$main"), expected $((x + 80)) $((y + 50))"
    kill -TERM "$ZPID"
    wait_for '! kill -0 "$ZPID"' 50 || fail "$COMPOSITOR: SIGTERM did not end the program"
    grep -q "wp.NormPos.l=$((x + 80))" "$data" || fail "$COMPOSITOR: the place was not saved at SIGTERM"

    # 3. An alarm that comes while another window is active stays in sight after a click on
    #    that window.
    printf '[14-06]\nAnna=f001\n[15-06]\nBert=m002\n[settings]\nnotify_advance=1\nnotify_days=3\nlast_alarm_day=13\nlast_alarm_month=6\nlast_alarm_year=2026\n' >"$data"
    xmessage -geometry 900x600+150+100 "An ordinary window" &
    PIDS+=($!)
    wait_for 'xdotool search --name "^xmessage$"' 50 || fail "xmessage did not start"
    local other
    other=$(xdotool search --name "^xmessage$" | head -1)
    start_zembrola LD_PRELOAD="$faketime" FAKETIME="@2026-06-14 10:00:00" FAKETIME_DONT_FAKE_MONOTONIC=1 \
        TZ=Europe/Amsterdam ASAN_OPTIONS="verify_asan_link_order=0${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
    wait_for '[ -n "$(alarm_window)" ]' 150 || fail "$COMPOSITOR: no alarm"
    local alarm
    alarm=$(alarm_window)
    sleep 0.5
    click_window "$other" 600 80 1
    xdotool windowactivate "$other" 2>/dev/null || true
    sleep 1
    comes_in_sight "$alarm" "$SCRATCH/$COMPOSITOR-alarm.png" ||
        fail "$COMPOSITOR: the alarm went out of sight when another window was clicked"
    if [ -n "${ZEMBROLA_DOCS:-}" ]; then
        cp "$SCRATCH/$COMPOSITOR-main.png" "$ZEMBROLA_DOCS/$COMPOSITOR-main.png"
        cp "$SCRATCH/$COMPOSITOR-alarm.png" "$ZEMBROLA_DOCS/$COMPOSITOR-alarm.png"
    fi

    # 4. The desktop's notification, and its "OK".
    if [ "$COMPOSITOR" = gnome ]; then
        wait_for 'gnome_call Notifications | grep -q "Birthday: Anna|June 14|OK,Later"' 50 ||
            fail "gnome: no notification for Anna: $(gnome_call Notifications)"
        gnome_call Invoke OK | grep -q true || fail "gnome: the notification has no OK"
        wait_for 'grep -q "alarm_acknowledged=20260614 20260614 1" "$data"' 30 || fail "gnome: OK did not acknowledge"
        wait_for 'gnome_call Notifications | grep -q "Birthday: Bert|June 15|OK"' 50 ||
            fail "gnome: the next alarm did not follow: $(gnome_call Notifications)"
    fi
    kill -TERM "$ZPID"
    wait_for '! kill -0 "$ZPID"' 50 || fail "$COMPOSITOR: SIGTERM did not end the program"
    wait "$ZPID" || fail "$COMPOSITOR: the program ended with status $?"
    if [ "$COMPOSITOR" = gnome ]; then
        wait_for '! gnome_call Notifications | grep -q "Birthday"' 30 ||
            fail "gnome: the waiting reminder's notification outlived the program: $(gnome_call Notifications)"
    fi
    [ "${ZEMBROLA_SEQUENCES:-20}" -gt 0 ] && reminder_sequences "${ZEMBROLA_SEQUENCES:-20}"
    echo "$COMPOSITOR: passed in $((SECONDS - began)) s (with start-up $((SECONDS - START_SECONDS)) s)"
}

start_kwin() {
    private_session_bus
    # KWin wants a capability on its binary that a container cannot grant: a plain copy,
    # whose name still ends in kwin_wayland, runs without it.
    cp /usr/bin/kwin_wayland "$COMPOSITOR_DIR/kwin_wayland"
    KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 "$COMPOSITOR_DIR/kwin_wayland" --virtual --width 1280 \
        --height 800 --xwayland --no-lockscreen --socket zembrola-kwin >"$COMPOSITOR_DIR/kwin.log" 2>&1 &
    PIDS+=($!)
    wait_for 'gdbus introspect --session --dest org.kde.KWin --object-path /org/kde/KWin/ScreenShot2' 300 ||
        { sed 's/^/  kwin: /' "$COMPOSITOR_DIR/kwin.log" >&2; return 1; }
    # KWin names its Xwayland only on that server's command line.
    local kwin=${PIDS[-1]} xwayland
    wait_for '[ -n "$(pgrep -a -P "$kwin" Xwayland)" ]' 100 ||
        { sed 's/^/  kwin: /' "$COMPOSITOR_DIR/kwin.log" >&2; return 1; }
    xwayland=$(pgrep -a -P "$kwin" Xwayland)
    DISPLAY=$(grep -o " :[0-9]*" <<<"$xwayland" | head -1 | tr -d ' ')
    XAUTHORITY=$(grep -o -- "-auth [^ ]*" <<<"$xwayland" | cut -d' ' -f2)
    export DISPLAY XAUTHORITY
    wait_for 'xdpyinfo' 100 || return 1
    echo "KWin ready after $((SECONDS - START_SECONDS)) s on $DISPLAY"
}

kwin_shot() { # file
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/kwin_shot.py" "$1" 1280 800
}
