# shellcheck shell=sh
# Wine session helpers shared by run.sh and the end-to-end test. Source this file, then:
#   wine_env [PREFIX]       Wine's environment: a 64-bit prefix, zh_CN.UTF-8 (ANSI code page 936;
#                           DUSK_WINE_LANG names another locale, e.g. en_US.UTF-8 for 1252),
#                           no Mono/Gecko prompts, no debug output
#   wine_prefix_ready       create the prefix once and make Chinese text draw in our fonts (again
#                           after a change of locale); with DUSK_WINE_TEMPLATE set, a new prefix
#                           is a copy of that template prefix, made ready once for all its copies
#   display_ready           use $DISPLAY if it answers, else start a private Xvfb (display_stop)
#   desktop_start NAME EXE [ARGS]   run EXE in a Wine virtual desktop with a taskbar and tray
#   desktop_origin NAME     where that desktop sits on the X screen ("X Y"), for xdotool
#   session_stop            end every process of the Wine session, bounded
#   screenshot FILE         the whole X screen
#   wait_until SECONDS CMD [ARGS]   poll CMD until it succeeds; fails when the time is up
# Every wait is bounded. Nothing here needs a network.

# Bump when the prefix set-up below changes, so that existing prefixes are set up again.
_dusk_prefix_setup_version=2
_dusk_xvfb_pid=
_dusk_desktop_pid=

wait_until() {
  _wu_deadline=$(($(date +%s) + $1))
  shift
  until "$@"; do
    [ "$(date +%s)" -lt "$_wu_deadline" ] || return 1
    sleep 0.2
  done
}

wine_env() {
  WINEPREFIX=${1:-${DUSK_WINEPREFIX:-$HOME/.dusk-wine}}
  case $WINEPREFIX in
    /*) ;;
    *) WINEPREFIX=$(pwd)/$WINEPREFIX ;;
  esac
  export WINEPREFIX
  export WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEDEBUG=-all
  LANG=${DUSK_WINE_LANG:-zh_CN.UTF-8}
  LC_ALL=$LANG
  export LANG LC_ALL
}

# wineserver -w waits for the session to end by itself; never wait for it unbounded.
_wineserver_wait() {
  timeout "${1:-60}" wineserver -w 2>/dev/null
}

# A one-string REG_MULTI_SZ as regedit's hex(7) bytes, its two ends included.
_reg_multi_string() {
  printf '%s' "$1" | od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//; s/$/,00,00/'
}

wine_prefix_ready() {
  [ -n "${WINEPREFIX:-}" ] || wine_env ""
  _wp_stamp=$WINEPREFIX/.dusk-prefix-setup
  # Wine rewrites the font links of the prefix for each new locale it runs under: the set-up is
  # done again after a change of locale.
  _wp_setup="$_dusk_prefix_setup_version ${LANG:-}"
  if [ -f "$_wp_stamp" ] && [ "$(cat "$_wp_stamp")" = "$_wp_setup" ]; then
    return 0
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ] && [ -n "${DUSK_WINE_TEMPLATE:-}" ]; then
    _wine_prefix_copy_template || return 1
    [ -f "$_wp_stamp" ] && [ "$(cat "$_wp_stamp")" = "$_wp_setup" ] && return 0
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    echo "Creating the Wine prefix $WINEPREFIX ..." >&2
    # The Debian wine wrapper complains on stderr that wine32 is missing; only 64-bit is used.
    timeout 180 wine wineboot -i >/dev/null 2>&1 || {
      echo "wineboot failed for $WINEPREFIX" >&2
      return 1
    }
  fi
  _wineserver_wait 60

  # Debian's Wine does not look in its own font folder: without these, captions lack the Marlett
  # glyphs of their buttons, and Tahoma and MS Sans Serif are missing.
  _wp_fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$_wp_fonts"
  for _wp_font in /usr/share/wine/fonts/*; do
    [ -e "$_wp_font" ] && ln -sf "$_wp_font" "$_wp_fonts/"
  done

  # As on a Chinese system, the Latin faces our windows ask for borrow the Chinese glyphs from
  # a linked font: with ANSI_CHARSET, MS Sans Serif and Tahoma draw boxes for Chinese otherwise.
  # Microsoft Sans Serif's links are also the fall-back of every face in a double-byte code page.
  # SimSun, the face behind "MS Shell Dlg" here, is not installed: the same font stands in.
  # WenQuanYi Micro Hei draws the small sizes whole; Zen Hei's strokes break up at 11 pixels.
  _wp_cjk_file=wqy-microhei.ttc
  _wp_cjk_face="WenQuanYi Micro Hei"
  _wp_link="hex(7):$(_reg_multi_string "$_wp_cjk_file,$_wp_cjk_face")"
  _wp_reg=$WINEPREFIX/dusk-prefix-setup.reg
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
    for _wp_face in "MS Sans Serif" "Microsoft Sans Serif" "Tahoma" "Arial" "Arial Narrow"; do
      printf '"%s"=%s\r\n' "$_wp_face" "$_wp_link"
    done
    printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
    printf '"SimSun"="%s"\r\n"NSimSun"="%s"\r\n' "$_wp_cjk_face" "$_wp_cjk_face"
  } >"$_wp_reg"
  timeout 60 wine regedit /S "$_wp_reg" >/dev/null 2>&1 || {
    echo "regedit failed for $WINEPREFIX" >&2
    return 1
  }
  _wineserver_wait 60
  rm -f "$_wp_reg"
  echo "$_wp_setup" >"$_wp_stamp"
}

_display_answers() {
  xdpyinfo >/dev/null 2>&1
}

display_ready() {
  if [ -n "${DISPLAY:-}" ] && _display_answers; then
    return 0
  fi
  # Numbers from 50 up leave the usual ones to others. Two sessions may pick the same free number
  # at once: the loser's Xvfb ends at once and it takes the next one.
  _dr_n=50
  while [ "$_dr_n" -lt 100 ]; do
    if [ ! -e "/tmp/.X$_dr_n-lock" ] && [ ! -e "/tmp/.X11-unix/X$_dr_n" ]; then
      Xvfb ":$_dr_n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
      _dusk_xvfb_pid=$!
      DISPLAY=:$_dr_n
      export DISPLAY
      # Only a display whose lock names our own server is ours: another session
      # may have won the number while our server was still on its way out.
      if wait_until 20 _xvfb_up_or_gone && _pid_alive "$_dusk_xvfb_pid" &&
        [ "$(tr -d ' ' <"/tmp/.X$_dr_n-lock" 2>/dev/null)" = "$_dusk_xvfb_pid" ]; then
        return 0
      fi
      display_stop
    fi
    _dr_n=$((_dr_n + 1))
  done
  echo "no Xvfb display could be started" >&2
  return 1
}

_xvfb_up_or_gone() {
  _pid_gone "$_dusk_xvfb_pid" || _display_answers
}

# A background child that has ended stays a zombie until the shell waits for it: not alive.
_pid_alive() {
  kill -0 "$1" 2>/dev/null && [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -c1)" != Z ]
}

_pid_gone() {
  ! _pid_alive "$1"
}

_pid_stop() {
  kill "$1" 2>/dev/null
  wait_until 10 _pid_gone "$1" || kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  return 0
}

display_stop() {
  [ -n "$_dusk_xvfb_pid" ] || return 0
  _pid_stop "$_dusk_xvfb_pid"
  _dusk_xvfb_pid=
}

# Copying a ready prefix takes a second or two where making one takes fifteen. Tests that run at
# once share the template: the first makes it, under a lock, while the others wait for it.
_wine_prefix_copy_template() {
  # One template per locale: the set-up differs with it.
  _wt_template=$DUSK_WINE_TEMPLATE-${LANG:-C}
  mkdir -p "$(dirname "$_wt_template")"
  (
    flock -w 300 9 || {
      echo "the Wine template prefix $_wt_template stayed locked" >&2
      exit 1
    }
    _wt_prefix=$WINEPREFIX
    WINEPREFIX=$_wt_template
    unset DUSK_WINE_TEMPLATE
    wine_prefix_ready || exit 1
    rm -rf "$_wt_prefix"
    mkdir -p "$(dirname "$_wt_prefix")"
    cp -a "$_wt_template" "$_wt_prefix" || {
      echo "the Wine prefix $_wt_prefix could not be copied from $_wt_template" >&2
      exit 1
    }
  ) 9>"$_wt_template.lock"
}

# A named virtual desktop shows a taskbar with the notification area only when its shell is on.
_desktop_shell_on() {
  # user.reg spells the key with doubled backslashes.
  grep -A3 -F "[Software\\\\Wine\\\\Explorer\\\\Desktops\\\\$1]" "$WINEPREFIX/user.reg" 2>/dev/null |
    grep -q '"EnableShell"=dword:00000001'
}

desktop_start() {
  _ds_name=$1
  shift
  if ! _desktop_shell_on "$_ds_name"; then
    timeout 60 wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops\\$_ds_name" \
      /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
  fi
  wine explorer "/desktop=$_ds_name,1280x800" "$@" >>"${DUSK_SESSION_LOG:-/dev/null}" 2>&1 &
  _dusk_desktop_pid=$!
}

# Alive while the desktop runs: Wine closes a virtual desktop when its last program has ended.
desktop_running() {
  [ -n "$_dusk_desktop_pid" ] && _pid_alive "$_dusk_desktop_pid"
}

desktop_origin() {
  xwininfo -name "$1 - Wine desktop" 2>/dev/null |
    awk '/Absolute upper-left X:/ { x = $NF } /Absolute upper-left Y:/ { y = $NF }
         END { if (x == "" || y == "") exit 1; print x, y }'
}

_desktop_shown() {
  desktop_origin "$1" >/dev/null
}

desktop_wait() {
  wait_until "${2:-30}" _desktop_shown "$1"
}

session_stop() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  timeout 20 wineserver -k >/dev/null 2>&1
  _wineserver_wait 20
  if [ -n "$_dusk_desktop_pid" ]; then
    wait_until 10 _pid_gone "$_dusk_desktop_pid" || _pid_stop "$_dusk_desktop_pid"
    wait "$_dusk_desktop_pid" 2>/dev/null
    _dusk_desktop_pid=
  fi
}

screenshot() {
  import -window root "$1"
}
