#!/usr/bin/env bash
# Runs a test program under Wine with a microphone: a private HOME whose
# .asoundrc gives the default ALSA device a capture side (the null device,
# which records silence), so that Wine lists one capture endpoint.
set -u
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d "${TMPDIR:-/tmp}/pausora-microphone.XXXXXX")
trap 'rm -rf "$home"' EXIT
cat >"$home/.asoundrc" <<'ASOUNDRC'
pcm.!default {
    type asym
    playback.pcm "null"
    capture.pcm "null"
}
ASOUNDRC
export HOME=$home
"$here/../../scripts/wine-fresh" "$@"
