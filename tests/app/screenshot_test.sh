#!/bin/sh
# Starts Tavrok on a terrain inside Xvfb, photographs the screen with ffmpeg's x11grab (the
# way that shows what a user sees), and checks that the map area is not blank. A busy machine
# may take a while to show the window, so it tries for up to 30 seconds.
set -eu
# Further arguments go to Tavrok; with --scene the check looks for the 3D scene's sky.
tavrok=$1 check=$2 terrain=$3 shot=$4
shift 4
mode=map
case " $* " in *" --scene "*) mode=scene ;; esac
"$tavrok" "$terrain" "$@" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
for attempt in $(seq 30); do
  sleep 1
  ffmpeg -loglevel error -y -f x11grab -video_size 1024x768 -i "$DISPLAY+0,0" -frames:v 1 "$shot"
  if "$check" "$shot" "$mode"; then
    exit 0
  fi
done
echo "the $mode never appeared (last screenshot: $shot)" >&2
exit 1
