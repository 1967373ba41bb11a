# SPDX-License-Identifier: MIT
# Sourced by the end-to-end scripts: a work folder and the processes started in it, both gone
# when the script ends however it ends, and small helpers for the checks.

work="$(mktemp -d)"
pids=()
cleanup() {
    local pid
    # A stopped process does not act on a TERM until it is continued.
    for pid in "${pids[@]}"; do kill -CONT "$pid" 2>/dev/null; kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
# The tests run under timeout(1), which ends them with TERM: the cleanup still runs.
trap 'echo "FAIL: interrupted or out of time"; exit 1' TERM INT

fail() {
    echo "FAIL: $*"
    [ -n "${DISPLAY:-}" ] && xwininfo -root -tree 2>/dev/null | grep -i moravelt
    # E2E_SHOTS=FOLDER keeps a picture of the screen at the failure.
    [ -n "${DISPLAY:-}" ] && [ -n "${E2E_SHOTS:-}" ] && command -v import >/dev/null &&
        import -window root "$E2E_SHOTS/fail.png"
    exit 1
}
step() { echo "-- $*"; }

# waitfor SECONDS COMMAND...: polls until the command succeeds.
waitfor() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}
