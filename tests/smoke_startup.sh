#!/usr/bin/env bash
# The program starts, says it has no window yet and makes its e-mail folder.
set -euo pipefail
exe=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache XDG_RUNTIME_DIR=$tmp/run
export QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$tmp/run"
unset windir || true

out=$("$exe")
grep -q "No window exists yet" <<<"$out" || { echo "unexpected: $out"; exit 1; }
[ -d "$tmp/cache/vimbrel/VIMBRA_EMAIL_PICS" ] || { echo "no e-mail folder"; exit 1; }

echo "startup smoke test passed"
