#!/usr/bin/env bash
# On KWin (KDE Plasma's compositor, Wayland, started headless; the program as an X11 client
# through Xwayland): the window is in sight and drags by its title bar, and an alarm that
# comes while another window is active stays in sight.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/compositor.sh"
start_kwin || fail "KWin did not start"
run_compositor_checks kwin
