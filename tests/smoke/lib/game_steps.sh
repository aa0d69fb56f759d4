# Sourced by smoke tests that play the real game (after lib/xvfb.sh): waiting
# for its first frames, holding the left button until something shows, and
# quitting with Escape. The game polls its devices once a frame, so a press
# must last until a frame has seen it: each step waits for what it caused.

# Waits until the field shows its backdrop (mean brightness of a patch of the
# field above 0.02); fails after ~15 s. $1: a scratch folder for screenshots.
wait_for_field() {
    local mean=0 _
    for _ in $(seq 60); do
        import -window root "$1/field.png"
        mean=$(convert "$1/field.png" -crop 100x100+200+200 -format '%[fx:mean]' info:)
        awk -v m="$mean" 'BEGIN { exit !(m > 0.02) }' && { echo "field brightness: $mean"; return 0; }
        sleep 0.25
    done
    echo "no field on screen (brightness $mean)" >&2
    return 1
}

# Takes a screenshot of the whole screen into $1.
shoot() { import -window root "$1"; }

# Waits until the area $2 (WxH+X+Y) of the screen differs from the same area
# of the screenshot $1 in more than 20 pixels; the last screenshot is left in
# $1.now.png. Fails after ~10 s.
wait_for_change() {
    local changed=0 _
    convert "$1" -crop "$2" +repage "$1.ref.png"
    for _ in $(seq 40); do
        shoot "$1.now.png"
        convert "$1.now.png" -crop "$2" +repage "$1.cut.png"
        changed=$(compare -metric AE -fuzz 5% "$1.ref.png" "$1.cut.png" null: 2>&1 || true)
        [[ $changed =~ ^[0-9]+$ ]] && ((changed > 20)) && return 0
        sleep 0.25
    done
    echo "nothing changed in $2 (differing pixels: $changed)" >&2
    return 1
}

# Holds the left button until the command in "$@" succeeds (~10 s at most).
hold_left_until() {
    local _ ok=1
    xdotool mousedown 1
    for _ in $(seq 100); do
        "$@" && { ok=0; break; }
        sleep 0.1
    done
    xdotool mouseup 1
    return $ok
}

# Escape until the game has gone; its exit code must be 0. A held quit key
# delays the quit until it is let go, so each press is short, and repeated
# only while no frame has seen one.
quit_with_escape() {
    local game=$1 code _ try
    for try in $(seq 10); do
        xdotool keydown Escape
        sleep 0.1
        xdotool keyup Escape
        for _ in $(seq 20); do kill -0 "$game" 2>/dev/null || break 2; sleep 0.1; done
    done
    if kill -0 "$game" 2>/dev/null; then
        echo "the game did not end on Escape" >&2
        kill -9 "$game"
        return 1
    fi
    set +e
    wait "$game"
    code=$?
    set -e
    echo "exit code $code"
    [[ $code -eq 0 ]]
}
