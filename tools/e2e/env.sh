#!/bin/bash
# Starts and stops the environment the end-to-end tests run in: one Xvfb
# screen, one PulseAudio server with a null sink and one Wine prefix in the
# Japanese locale, shared by every test of a run.
#
#   env.sh start STATE_DIR   start everything, write STATE_DIR/e2e.env
#   env.sh stop  STATE_DIR   stop everything that start recorded
#
# Every process started here is recorded by its process id in STATE_DIR/pids
# and stopped by that id. The Wine prefix (STATE_DIR/wineprefix) is kept for
# the next run; it is rebuilt when its stamp is missing (fresh clone, or a run
# that died while creating it).
set -u

cmd=${1:-}
state=${2:-}
if [[ -z "$cmd" || -z "$state" ]]; then
  echo "usage: $0 start|stop STATE_DIR" >&2
  exit 2
fi
mkdir -p "$state"
state=$(cd "$state" && pwd)
pids_file=$state/pids
env_file=$state/e2e.env
prefix=$state/wineprefix
stamp=$prefix/.vemtra-e2e-ready2
log=$state/env.log

WINE=${WINE:-wine}
WINESERVER=${WINESERVER:-wineserver}
SCREEN_GEOMETRY=1920x1080x24
WINE_OVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

say() { echo "[e2e-env] $*" | tee -a "$log" >&2; }
die() { say "ERROR: $*"; [[ -n "${starting:-}" ]] && do_stop; exit 1; }

# Polls "$@" every 0.2 s until it succeeds or LIMIT seconds have passed.
wait_until() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS >= end)) && return 1
    sleep 0.2
  done
}

# True while the process lives and still runs the program we started (a pid
# may have been reused since a crashed run).
alive_as() {
  local pid=$1 name=$2
  [[ -r /proc/$pid/cmdline ]] && tr '\0' ' ' </proc/$pid/cmdline | grep -q -- "$name"
}

stop_pid() {
  local pid=$1 name=$2
  alive_as "$pid" "$name" || return 0
  kill -TERM "$pid" 2>/dev/null
  if ! wait_until 10 bash -c "! kill -0 $pid"; then
    say "$name ($pid) did not stop, killing it"
    kill -KILL "$pid" 2>/dev/null
    wait_until 5 bash -c "! kill -0 $pid"
  fi
}

wine_env() {
  env DISPLAY="$DISPLAY" WINEPREFIX="$prefix" WINEDEBUG=-all \
      WINEDLLOVERRIDES="$WINE_OVERRIDES" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 \
      PULSE_SERVER="$PULSE_SERVER" PULSE_CLIENTCONFIG="$PULSE_CLIENTCONFIG" "$@"
}

do_stop() {
  [[ -f "$pids_file" ]] || return 0
  local name pid
  # Wine first: its processes talk to the X server and the sound server.
  if grep -q '^wineserver ' "$pids_file"; then
    pid=$(awk '$1=="wineserver"{print $2}' "$pids_file")
    if alive_as "$pid" wineserver; then
      # Ends every Windows process of our prefix, then the server itself.
      WINEPREFIX=$prefix timeout 15 "$WINESERVER" -k >/dev/null 2>&1
      stop_pid "$pid" wineserver
    fi
  fi
  # Windows processes of our prefix that outlived their server (it crashed or
  # was killed) are found by the WINEPREFIX in their environment.
  local proc
  for proc in /proc/[0-9]*; do
    [[ "$(readlink "$proc/exe" 2>/dev/null)" == */wine* ]] || continue
    if tr '\0' '\n' <"$proc/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$prefix"; then
      pid=${proc#/proc/}
      say "stopping left-over Wine process $pid"
      kill -KILL "$pid" 2>/dev/null
    fi
  done
  while read -r name pid; do
    [[ "$name" == wineserver ]] && continue
    stop_pid "$pid" "$name"
  done <"$pids_file"
  local rt
  rt=$(awk '$1=="runtime"{print $2}' "$state/runtime" 2>/dev/null)
  [[ -n "$rt" && -d "$rt" && "$rt" == /tmp/vemtra-e2e.* ]] && rm -rf "$rt"
  rm -f "$pids_file" "$state/runtime" "$env_file"
  say "stopped"
}

do_start() {
  : >"$log"
  # A run that was killed before its cleanup leaves its processes behind.
  do_stop

  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' ||
    die "locale ja_JP.UTF-8 is missing (enable it in /etc/locale.gen and run locale-gen)"
  fc-list :lang=ja 2>/dev/null | grep -q . ||
    die "no Japanese font found (install fonts-ipafont-gothic)"
  for tool in Xvfb pulseaudio pactl "$WINE" "$WINESERVER" import; do
    command -v "$tool" >/dev/null || die "$tool is not installed"
  done

  starting=1
  : >"$pids_file"
  # Socket paths must stay short (108 bytes), so they live below /tmp.
  local rt
  rt=$(mktemp -d /tmp/vemtra-e2e.XXXXXX) || die "cannot create a runtime folder"
  echo "runtime $rt" >"$state/runtime"

  # X server: -displayfd lets it choose a free display number, so several
  # runs on one machine do not collide.
  Xvfb -displayfd 3 -screen 0 $SCREEN_GEOMETRY -nolisten tcp -noreset \
      3>"$rt/display" >>"$state/xvfb.log" 2>&1 &
  echo "Xvfb $!" >>"$pids_file"
  wait_until 20 grep -q '[0-9]' "$rt/display" || die "Xvfb did not start (see $state/xvfb.log)"
  export DISPLAY=":$(tr -dc 0-9 <"$rt/display")"
  say "Xvfb on $DISPLAY"

  # Sound server with one null sink; its monitor is the default source, i.e.
  # what the recorder hears.
  mkdir -p "$rt/pulse-home" "$rt/pulse-run"
  export PULSE_SERVER="unix:$rt/pulse.sock"
  export PULSE_CLIENTCONFIG="$rt/client.conf"
  printf 'autospawn = no\n' >"$PULSE_CLIENTCONFIG"
  HOME=$rt/pulse-home XDG_RUNTIME_DIR=$rt/pulse-run PULSE_RUNTIME_PATH=$rt/pulse-run \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
      --disallow-module-loading=no \
      --load="module-null-sink sink_name=vsink" \
      --load="module-native-protocol-unix auth-anonymous=1 socket=$rt/pulse.sock" \
      >>"$state/pulseaudio.log" 2>&1 &
  echo "pulseaudio $!" >>"$pids_file"
  wait_until 20 pactl info || die "PulseAudio did not start (see $state/pulseaudio.log)"
  pactl set-default-sink vsink >/dev/null 2>&1
  pactl set-default-source vsink.monitor >/dev/null 2>&1
  # A sound card hands over what it hears every few milliseconds. An idle
  # null sink renders in blocks of up to two seconds, and a recording closed
  # (paused, split) before a block ends would lose what it heard in it. A
  # silent player of low latency keeps the sink rendering in small blocks.
  pacat --playback --device=vsink --latency-msec=20 --raw --format=s16le --rate=44100 --channels=2 \
    </dev/zero >>"$state/pulseaudio.log" 2>&1 &
  echo "pacat $!" >>"$pids_file"
  say "PulseAudio at $PULSE_SERVER"

  # Wine: one persistent server for the run, so each program starts in ~1 s.
  if [[ ! -f "$stamp" ]]; then
    say "creating the Wine prefix $prefix"
    rm -rf "$prefix"
  fi
  mkdir -p "$prefix"
  WINEPREFIX=$prefix timeout 15 "$WINESERVER" -k >/dev/null 2>&1
  # Started directly (not through wine_env) so that $! is the server itself.
  env DISPLAY="$DISPLAY" WINEPREFIX="$prefix" WINEDEBUG=-all \
      "$WINESERVER" -f -p >>"$state/wineserver.log" 2>&1 &
  echo "wineserver $!" >>"$pids_file"
  if [[ ! -f "$stamp" ]]; then
    wine_env timeout 300 "$WINE" wineboot -i >>"$state/wineboot.log" 2>&1 ||
      die "wineboot failed (see $state/wineboot.log)"
    # A crashing program must end, not wait behind Wine's crash dialog.
    wine_env timeout 60 "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
        /t REG_DWORD /d 0 /f >>"$state/wineboot.log" 2>&1 ||
      die "cannot configure the Wine prefix (see $state/wineboot.log)"
    # The Windows fonts the programs ask for by name, drawn with the IPA
    # fonts of the same shape (without this Wine picks wider fallbacks and
    # cuts labels short).
    for pair in "ＭＳ Ｐゴシック=IPAPGothic" "ＭＳ ゴシック=IPAGothic" "MS ゴシック=IPAGothic" \
                "MS UI Gothic=IPAPGothic"; do
      wine_env timeout 60 "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" \
          /t REG_SZ /d "${pair#*=}" /f >>"$state/wineboot.log" 2>&1 ||
        die "cannot configure the Wine prefix's fonts (see $state/wineboot.log)"
    done
    touch "$stamp"
  else
    wine_env timeout 120 "$WINE" wineboot >>"$state/wineboot.log" 2>&1 ||
      die "wineboot failed (see $state/wineboot.log)"
  fi
  say "Wine prefix ready"

  cat >"$env_file.tmp" <<EOF
DISPLAY='$DISPLAY'
PULSE_SERVER='$PULSE_SERVER'
PULSE_CLIENTCONFIG='$PULSE_CLIENTCONFIG'
WINEPREFIX='$prefix'
WINEDEBUG='${VEMTRA_WINEDEBUG:--all}'
WINEDLLOVERRIDES='$WINE_OVERRIDES'
LANG='ja_JP.UTF-8'
LC_ALL='ja_JP.UTF-8'
WINE='$(command -v "$WINE")'
EOF
  mv "$env_file.tmp" "$env_file"
  say "environment written to $env_file"
}

case "$cmd" in
  start) do_start ;;
  stop) do_stop ;;
  *) echo "usage: $0 start|stop STATE_DIR" >&2; exit 2 ;;
esac
