# Sourced after lib/xvfb.sh by smoke tests that play the real game: waiting
# for its first frames or for a change on the screen, holding the left button
# until something has happened, and quitting with Escape.

# Takes a screenshot of the whole screen into $1.
shoot() { import -window root "$1"; }

field_shows() {
    shoot "$1/field.png"
    awk -v m="$(convert "$1/field.png" -crop 100x100+200+200 -format '%[fx:mean]' info:)" \
        'BEGIN { exit !(m > 0.02) }'
}

# Waits until the field shows its backdrop; input sent before then is lost.
# $1: a scratch folder for the screenshots.
wait_for_field() {
    wait_until 20 field_shows "$1" && return 0
    echo "no field on screen" >&2
    return 1
}

area_differs() {
    shoot "$1.now.png"
    convert "$1.now.png" -crop "$2" +repage "$1.cut.png"
    local changed
    changed=$(compare -metric AE -fuzz 5% "$1.ref.png" "$1.cut.png" null: 2>&1 || true)
    [[ $changed =~ ^[0-9]+$ ]] && ((changed > 20))
}

# Waits until the area $2 (WxH+X+Y) of the screen differs from the same area
# of the screenshot $1 in more than 20 pixels.
wait_for_change() {
    convert "$1" -crop "$2" +repage "$1.ref.png"
    wait_until 10 area_differs "$1" "$2" && return 0
    echo "nothing changed in $2" >&2
    return 1
}

# Holds the left button until the command in "$@" succeeds (10 s at most).
hold_left_until() {
    local ok=0
    xdotool mousedown 1
    wait_until 10 "$@" || ok=1
    xdotool mouseup 1
    return $ok
}

game_gone() { ! kill -0 "$1" 2>/dev/null; }

# Taps Escape; the game must end with exit code 0.
quit_with_escape() {
    local game=$1 code
    xdotool keydown Escape keyup Escape
    if ! wait_until 10 game_gone "$game"; then
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
