#!/usr/bin/env bash
# On GNOME Shell (Wayland, started headless; the program as an X11 client through Xwayland, as
# the launcher runs it): no tray, so the window keeps a task-bar entry; the title bar drags
# it; an alarm that comes while another window is active stays in sight; the alarm reaches
# GNOME's own notifications with the name and the picture, and their "OK" acknowledges it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/compositor.sh"
start_gnome || fail "GNOME Shell did not start"
run_compositor_checks gnome
