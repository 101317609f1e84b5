#!/usr/bin/env bash
# Starts and stops the X server that the display tests share.
#   xvfb.sh start DIR   starts Xvfb on a free display and writes its name to
#                       DIR/display and its process id to DIR/pid
#   xvfb.sh stop DIR    stops it again
set -euo pipefail

action=${1:?start or stop}
dir=${2:?state directory}
pid_file=$dir/pid
display_file=$dir/display
number_file=$dir/number
log_file=$dir/log
# Tenths of a second to wait for the server to come up and to go.
start_wait=100
stop_wait=50

stop() {
  [ -f "$pid_file" ] || return 0
  local pid
  pid=$(cat "$pid_file")
  # Only our server: the id may have been reused since an interrupted run.
  if [ -n "$pid" ] && [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then
    kill "$pid" 2>/dev/null || true
    for _ in $(seq "$stop_wait"); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
  fi
  rm -f "$pid_file" "$display_file" "$number_file"
}

case $action in
  start)
    stop
    mkdir -p "$dir"
    : >"$number_file"
    # -displayfd: the server takes the first free display and writes its
    # number to the descriptor once it accepts connections. -noreset keeps it
    # from resetting each time the last client leaves.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
      3>"$number_file" </dev/null >"$log_file" 2>&1 &
    pid=$!
    echo "$pid" >"$pid_file"
    for _ in $(seq "$start_wait"); do
      if [ -s "$number_file" ]; then
        echo ":$(head -n 1 "$number_file")" >"$display_file.new"
        mv "$display_file.new" "$display_file"
        echo "Xvfb $pid on $(cat "$display_file")"
        exit 0
      fi
      if ! kill -0 "$pid" 2>/dev/null; then
        echo "Xvfb exited:" >&2
        cat "$log_file" >&2
        exit 1
      fi
      sleep 0.1
    done
    echo "Xvfb did not come up:" >&2
    cat "$log_file" >&2
    stop
    exit 1
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: $0 start|stop DIR" >&2
    exit 2
    ;;
esac
