# The Wine set-up of the Windows tests, sourced by scripts/test.
# shellcheck shell=bash
#
# One prefix, made once in a setup step under the build folder (never under
# $HOME), a persistent wineserver, UTF-8, no desktop integration, and a CJK
# font standing in for 宋体.

# setup_wine DIR: makes (or reuses) the prefix DIR/prefix and exports what
# Wine and ctest need; starts the wineserver.
setup_wine() {
    local dir=$1
    mkdir -p "$dir/home"
    export WINEPREFIX=$dir/prefix
    export HOME=$dir/home          # whatever Wine writes for "the user" stays here
    export WINEARCH=win64
    export WINEDEBUG=-all
    export LANG=C.UTF-8
    # No Mono or Gecko installers, no menu entries or file associations.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Making the Wine prefix $WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1
        wineserver -w
        cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$WINEPREFIX/drive_c/windows/Fonts/"
        local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
        wine reg add "$key" /v SimSun /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1
        wine reg add "$key" /v 宋体 /d "WenQuanYi Micro Hei" /f </dev/null >/dev/null 2>&1
        wineserver -w
    fi
    # Kept running for every test.  Its helper processes (the device and
    # service hosts) are started here too, with nothing of ours as their
    # standard input and output: started by the first test, they would keep
    # that test's output pipe open and ctest would wait for them forever.
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
}

stop_wine() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k </dev/null >/dev/null 2>&1 || true
}
