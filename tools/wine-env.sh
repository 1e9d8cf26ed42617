# Sourced by the Wine scripts: the environment every Wine program of ours runs in.
TW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${TW_WINEPREFIX:-$TW_ROOT/build/win/wineprefix}
export WINEARCH=win32
# Code page 936; the Linux locale must exist (tools/setup.sh generates it) or
# Wine mangles non-ASCII arguments and environment values.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# No HTML engine, no .NET: either would offer a download and block.
export WINEDLLOVERRIDES="mshtml=;mscoree=${TW_DLLOVERRIDES:+;$TW_DLLOVERRIDES}"
export WINEDEBUG=${WINEDEBUG:--all}

# Starts Xvfb on a free display when none is set; sets TW_OWN_XVFB to its pid.
tw_ensure_display() {
  TW_OWN_XVFB=""
  if [ -n "${DISPLAY:-}" ]; then return 0; fi
  local n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  TW_OWN_XVFB=$!
  export DISPLAY=:$n
  local i
  for i in $(seq 1 100); do
    [ -e /tmp/.X11-unix/X$n ] && return 0
    sleep 0.05
  done
  echo "wine-env: Xvfb did not start on :$n" >&2
  return 1
}

tw_stop_display() {
  if [ -n "${TW_OWN_XVFB:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    kill "$TW_OWN_XVFB" 2>/dev/null || true
    wait "$TW_OWN_XVFB" 2>/dev/null || true
    TW_OWN_XVFB=""
  fi
}

# Creates the prefix once (with a display, see WINE-NOTES) and configures it:
# a virtual desktop so Wine draws window frames itself, the CJK font for
# "宋体", no crash dialog. Serialised by a lock for parallel callers.
tw_ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.tonewell-ready" ] && exit 0
    echo "wine-env: creating prefix $WINEPREFIX" >&2
    wineboot -i >/dev/null 2>&1
    local k=HKCU\\Software\\Wine
    wine reg add "$k\\Explorer" /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add "$k\\Explorer\\Desktops" /v Default /d 1024x768 /f >/dev/null 2>&1
    wine reg add "$k\\Fonts\\Replacements" /v "宋体" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    wine reg add "$k\\Fonts\\Replacements" /v SimSun /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
    wine reg add "$k\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wine reg add "HKCU\\Control Panel\\Desktop" /v FontSmoothing /d 0 /f >/dev/null 2>&1
    # Wine finds its own fonts (Marlett draws the caption-button glyphs) only
    # when they lie in the prefix's font folder.
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w
    touch "$WINEPREFIX/.tonewell-ready"
  ) 9>"$WINEPREFIX.lock"
}

# What every script that runs Wine programs needs: a display (our own Xvfb
# when none is set, stopped when the script exits) and the prefix.
tw_begin() {
  tw_ensure_display || return 1
  trap tw_stop_display EXIT
  tw_ensure_prefix
}
