#!/bin/sh
# Starts Tavrok on a terrain inside Xvfb, photographs the screen with ffmpeg's x11grab (the
# way that shows what a user sees), and checks that the map area is not blank.
set -eu
tavrok=$1 check=$2 terrain=$3 shot=$4
"$tavrok" "$terrain" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
sleep 4
ffmpeg -loglevel error -y -f x11grab -video_size 1024x768 -i "$DISPLAY+0,0" -frames:v 1 "$shot"
"$check" "$shot"
