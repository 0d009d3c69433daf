#!/usr/bin/env bash
# Runs a sound test program under Wine with the default ALSA device writing
# into a file instead of a sound card: a private HOME whose .asoundrc sends
# the output to the null device through the file plugin, a new file for each
# opening of the device. The program finds the file's name (as a Windows
# path) in PAUSORA_AUDIO_CAPTURE and compares it against what it played.
set -u
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d "${TMPDIR:-/tmp}/pausora-audio.XXXXXX")
trap 'rm -rf "$home"' EXIT
cat >"$home/.asoundrc" <<ASOUNDRC
pcm.!default {
    type file
    slave.pcm "null"
    file "$home/capture.wav"
    format "wav"
    truncate false
}
ASOUNDRC
export HOME=$home
export PAUSORA_AUDIO_CAPTURE="Z:${home//\//\\}\\capture.wav"
"$here/../../scripts/wine-fresh" "$@"
