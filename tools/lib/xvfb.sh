# shellcheck shell=bash
# Sourced by scripts that need an X server:
#   source tools/lib/xvfb.sh; start_xvfb DISPLAY_NUMBER [SCREEN]   (SCREEN e.g. 1024x768x24)
# When no display is set, starts a virtual X server on :DISPLAY_NUMBER, exports DISPLAY and
# stops the server on exit, after whatever EXIT trap the caller set before the call.

start_xvfb() {
    local number=$1 screen=${2:-}
    [ -z "${DISPLAY:-}" ] || return 0
    if ! command -v Xvfb >/dev/null; then
        echo "note: no display and no Xvfb; tests that open windows have no X server" >&2
        return 0
    fi
    local args=(":$number" -noreset)
    [ -z "$screen" ] || args+=(-screen 0 "$screen")
    Xvfb "${args[@]}" >/dev/null 2>&1 &
    local pid=$!

    # trap -p quotes the caller's command for reuse ("trap -- 'COMMAND' EXIT"); eval takes it
    # apart as the shell would, and the server's stop is appended to it.
    local previous
    previous=$(trap -p EXIT)
    eval "set -- $previous"
    # shellcheck disable=SC2064 # the pid is known now
    trap "${3:-}"$'\n'"kill $pid 2>/dev/null || true" EXIT

    export DISPLAY=":$number"
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$number" ] && return 0
        sleep 0.1
    done
    echo "note: the virtual X server on :$number has not started after 5 s" >&2
}
