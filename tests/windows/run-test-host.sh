#!/usr/bin/env bash
# Runs the Windows test host under wine inside an X display (started by xvfb-run), carrying out
# what it asks through WORK/request (a screenshot with ImageMagick's `import`, or a key going down
# or up on the X keyboard with xdotool), and waits for wine to finish.
# Usage: run-test-host.sh WINE_LOADER WINESERVER TEST_HOST.exe PLUGIN.aex WORK_FOLDER SHOT.png
#        [HOSTCHECK.aex]
set -uo pipefail
loader=$1 server=$2 exe=$3 plugin=$4 work=$5 shot=$6 probe=${7:-}

rm -f "$work/request" "$work/done" "$shot"

# There is no window manager on the display: wine draws the frames and captions itself, so the
# screenshot shows them. (This also makes the prefix on the first run.)
"$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
"$server" -w
"$loader" "$exe" "$plugin" "$work" --screenshot ${probe:+--probe "$probe"} &
pid=$!

while kill -0 "$pid" 2>/dev/null; do
  if [ -e "$work/request" ]; then
    request=$(cat "$work/request")
    rm -f "$work/request"
    case "$request" in
      shot)
        import -window root "$shot" && echo "windows: screenshot of the progress window in $shot" ;;
      "keydown Control_L" | "keyup Control_L" | "keydown Shift_L" | "keyup Shift_L")
        # shellcheck disable=SC2086 # the request is one of the fixed pairs above
        xdotool $request ;;
      *)
        echo "windows: unknown request from the test host: $request" >&2 ;;
    esac
    touch "$work/done"
  fi
  sleep 0.05
done
wait "$pid"
status=$?

# Wine's own processes (wineserver, the desktop) outlive the program; let them end while the
# display is still there, and end them if they do not.
if ! timeout 60 "$server" -w; then
  "$server" -k || true
fi
exit "$status"
