# Shared set-up for scripts/test, scripts/demo and scripts/bench (sourced, not run).
# Each step does its own work only when needed, so a second run is quick.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUILLET_BUILD:-$root/build}
export WINEPREFIX=$build/wineprefix
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
export WINELOADER=/usr/lib/wine/wine64

required_packages=(g++-mingw-w64-x86-64-posix cmake ninja-build wine wine64 fonts-wine xvfb xauth
                   slapd ldap-utils openssl googletest python3 fonts-dejavu-core fonts-noto-core
                   fonts-noto-cjk)

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

# Another initialised prefix that a new one may start as a copy of (seconds instead of
# minutes); WINEPREFIX itself when there is none.
wine_template=${WINE_TEMPLATE:-$build/wineprefix}

# With --pin, the Wine server runs on one CPU, and run_pinned runs programs on the
# same one: every server request is then a switch on that CPU instead of a wake-up
# across CPUs, which makes runs under Wine faster and their times steadier.
# QUILLET_PIN=0 turns it off.
pin_cpu=""

run_pinned() {
    if [ -n "$pin_cpu" ]; then
        taskset -c "$pin_cpu" "$@"
    else
        "$@"
    fi
}

start_wine() {
    local fresh=""
    if [ ! -f "$WINEPREFIX/.initialised" ] && [ "$wine_template" != "$WINEPREFIX" ] &&
        [ -f "$wine_template/.initialised" ]; then
        # Copied before its server starts, which would otherwise save an empty
        # registry over the copy.
        log "creating the Wine prefix $WINEPREFIX from $wine_template (once)"
        rm -rf "$WINEPREFIX"
        cp -a --reflink=auto "$wine_template" "$WINEPREFIX"
        fresh=1
    fi
    mkdir -p "$WINEPREFIX"
    /usr/lib/wine/wineserver -f -p &
    started_pids+=($!)
    wine_started=1
    if [ "${1:-}" = --pin ] && [ "${QUILLET_PIN:-1}" != 0 ]; then
        # The first CPU this shell may use.
        pin_cpu=$(taskset -pc $$ | sed 's/.*: //; s/[,-].*//')
        taskset -pc "$pin_cpu" "${started_pids[-1]}" >/dev/null
    fi
    if [ -n "$fresh" ]; then
        # What the template's programs stored is not this prefix's.
        /usr/lib/wine/wine64 reg delete 'HKCU\Software\Tovana' /f >/dev/null 2>&1 </dev/null || true
    fi
    if [ ! -f "$WINEPREFIX/.initialised" ]; then
        log "creating the Wine prefix $WINEPREFIX (once)"
        WINEDLLOVERRIDES="mscoree,mshtml=" /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 </dev/null
        # Wine draws the window frames itself and never waits for a window
        # manager, so windows look and behave the same with or without one.
        local setting
        for setting in Decorated Managed; do
            /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v "$setting" /d N /f \
                >/dev/null 2>&1 </dev/null
        done
        touch "$WINEPREFIX/.initialised"
    fi
    install_prefix_fonts
    # Wine's own service processes start with the first program of a session; start
    # them here, away from ctest's output pipe, which they would otherwise hold open.
    /usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null
}

# Fonts of the prefix. Wine's own fonts (Tahoma, and Marlett, whose symbols draw the
# caption buttons) go into its Fonts folder. Names come in many scripts: the dialog
# font becomes DejaVu Sans, which has Latin with accents, Greek, Cyrillic, Hebrew and
# Arabic of its own (right-to-left text is drawn from the font itself, without links),
# and the Noto fonts are linked behind it and behind Tahoma for CJK and the rest.
font_links=(
    "NotoSansCJK-Regular.ttc,Noto Sans CJK JP"
    "NotoSans-Regular.ttf,Noto Sans"
    "NotoSansArabic-Regular.ttf,Noto Sans Arabic"
    "NotoSansHebrew-Regular.ttf,Noto Sans Hebrew"
    "NotoSansMath-Regular.ttf,Noto Sans Math"
    "DejaVuSans.ttf,DejaVu Sans"
)
linked_faces=("DejaVu Sans" "Tahoma" "Microsoft Sans Serif" "MS Shell Dlg" "MS Shell Dlg 2")

install_prefix_fonts() {
    local fonts=$WINEPREFIX/drive_c/windows/Fonts font
    mkdir -p "$fonts"
    for font in /usr/share/wine/fonts/*.ttf; do
        [ -e "$fonts/${font##*/}" ] || ln -s "$font" "$fonts/"
    done
    local settings stamp=$WINEPREFIX/.font-settings
    settings=$(printf '%s\n' "${font_links[@]}" -- "${linked_faces[@]}")
    [ "$(cat "$stamp" 2>/dev/null)" = "$settings" ] && return 0
    log "linking fonts into the Wine prefix"
    python3 - "$WINEPREFIX/fonts.reg" "${#font_links[@]}" "${font_links[@]}" "${linked_faces[@]}" <<'PY'
import sys
path, count = sys.argv[1], int(sys.argv[2])
links, faces = sys.argv[3:3 + count], sys.argv[3 + count:]
data = ("\0".join(links) + "\0\0").encode("utf-16-le")
multi = "hex(7):" + ",".join("%02x" % b for b in data)
key = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion"
lines = ["Windows Registry Editor Version 5.00", "",
         "[%s\\FontSubstitutes]" % key,
         '"MS Shell Dlg"="DejaVu Sans"', '"MS Shell Dlg 2"="DejaVu Sans"', "",
         "[%s\\FontLink\\SystemLink]" % key]
lines += ['"%s"=%s' % (face, multi) for face in faces]
open(path, "w", encoding="utf-16").write("\r\n".join(lines) + "\r\n")
PY
    /usr/lib/wine/wine64 regedit /S "$WINEPREFIX/fonts.reg" >/dev/null 2>&1 </dev/null
    rm -f "$WINEPREFIX/fonts.reg"
    printf '%s' "$settings" >"$stamp"
}

slapd_dir=""

# Exports each NAME=VALUE line of the fixture's output (LDAP_TEST_PORT and
# LDAP_TEST_TLS_PORT).
export_lines() {
    local line
    while IFS= read -r line; do
        [ -n "$line" ] && export "${line?}"
    done <<<"$1"
}

start_slapd() {
    slapd_dir=$build/slapd
    export_lines "$("$root/tests/fixtures/slapd.sh" start "$slapd_dir")"
    log "slapd on 127.0.0.1:$LDAP_TEST_PORT (SSL/TLS on $LDAP_TEST_TLS_PORT)"
}

# The misbehaving LDAP servers of the fault tests (tests/faults/fault_servers.py); their
# ports reach the tests as LDAP_FAULT_PORTS.
start_fault_servers() {
    local out
    out=$(mktemp)
    python3 "$root/tests/faults/fault_servers.py" >"$out" 2>/dev/null </dev/null &
    started_pids+=($!)
    for _ in $(seq 100); do
        [ -s "$out" ] && break
        sleep 0.05
    done
    local line
    line=$(head -n1 "$out")
    rm -f "$out"
    [ -n "$line" ] || { log "the fault servers did not start"; return 1; }
    export "${line?}"
}

wine_started=""

stop_services() {
    # Ends the Wine programs and services of this prefix, then the server itself.
    [ -n "$wine_started" ] && /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -n "$slapd_dir" ] && "$root/tests/fixtures/slapd.sh" stop "$slapd_dir" 2>/dev/null || true
    local i
    for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
        kill "${started_pids[i]}" 2>/dev/null || true
        wait "${started_pids[i]}" 2>/dev/null || true
    done
    started_pids=()
}
