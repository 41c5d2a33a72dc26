# Shared set-up for scripts/test, scripts/demo and scripts/bench (sourced, not run).
# Each step does its own work only when needed, so a second run is quick.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUILLET_BUILD:-$root/build}
export WINEPREFIX=$build/wineprefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINELOADER=/usr/lib/wine/wine64

required_packages=(g++-mingw-w64-x86-64-posix cmake ninja-build wine wine64 xvfb xauth
                   slapd ldap-utils googletest)

log() { printf '== %s\n' "$*" >&2; }

ensure_packages() {
    local missing=()
    for p in "${required_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

build_all() {
    if [ ! -f "$build/build.ninja" ]; then
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
    fi
    cmake --build "$build"
}

# Processes started here; stop_services ends exactly these.
started_pids=()

start_display() {
    if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != "--own" ]; then
        return 0
    fi
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    started_pids+=($!)
    for _ in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    [ -s "$fdfile" ] || { log "Xvfb did not start"; return 1; }
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
    log "Xvfb on $DISPLAY"
}

start_wine() {
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wineserver -f -p &
    started_pids+=($!)
    if [ ! -f "$WINEPREFIX/.initialised" ]; then
        log "creating the Wine prefix $WINEPREFIX (once)"
        WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
        touch "$WINEPREFIX/.initialised"
    fi
}

slapd_dir=""

start_slapd() {
    slapd_dir=$build/slapd
    local line
    line=$("$root/tests/fixtures/slapd.sh" start "$slapd_dir")
    export "${line?}"
    log "slapd on 127.0.0.1:$LDAP_TEST_PORT"
}

stop_services() {
    [ -n "$slapd_dir" ] && "$root/tests/fixtures/slapd.sh" stop "$slapd_dir" || true
    local i
    for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
        kill "${started_pids[i]}" 2>/dev/null || true
        wait "${started_pids[i]}" 2>/dev/null || true
    done
    started_pids=()
}
