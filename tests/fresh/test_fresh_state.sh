#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The print tests and two end-to-end runs as on a machine that has never run them: the
# machine's CUPS scheduler out of reach (a network and a /run/cups of their own), no ~/PDF, an
# empty home with empty caches, and nothing of the caller's environment. A test that leans on
# state an earlier run or the developer's machine left fails here on every machine.
# Nothing of the machine's is changed: the hiding is done in a mount and network namespace
# that ends with the script.
#   test_fresh_state.sh VIMBREL SAMPLE_ALBUM_TOOL TEST_PRINT_OUTPUT
set -eEuo pipefail
trap 'echo "FAIL: ${BASH_SOURCE[0]##*/}:$LINENO: '\''$BASH_COMMAND'\'' exited with $?" >&2' ERR
exe=$(realpath "$1") sampler=$(realpath "$2") print_test=$(realpath "$3")
here=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${VIMBREL_FRESH_INSIDE:-}" ]; then
  [ "$(id -u)" -eq 0 ] || { echo "SKIP: hiding the machine's state needs root"; exit 77; }
  VIMBREL_FRESH_INSIDE=1 exec unshare --mount --net --propagation private "$0" "$@"
fi

# The machine's scheduler: its socket folder hidden, its port on another network.
[ -d /run/cups ] && mount -t tmpfs -o mode=755 tmpfs /run/cups
ip link set lo up 2>/dev/null || true
real_home=$(getent passwd "$(id -un)" | cut -d: -f6)
[ -d "$real_home/PDF" ] && mount -t tmpfs -o mode=700 tmpfs "$real_home/PDF"
if env -u CUPS_SERVER lpstat -r 2>/dev/null | grep -q "is running"; then
  echo "FAIL: the machine's CUPS scheduler is still reachable" >&2
  exit 1
fi

fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
mkdir -p "$fresh/home"
art=${E2E_ARTIFACTS:-$PWD/e2e-artifacts}/fresh
mkdir -p "$art"
in_fresh() {
  env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME="$fresh/home" \
    LANG=C.UTF-8 E2E_ARTIFACTS="$art" ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} "$@"
}

failed=()
run() {
  local name=$1; shift
  echo "== $name"
  if in_fresh "$@" >"$art/$name.log" 2>&1; then
    echo "   passed"
  else
    echo "   FAILED; its output:"
    sed 's/^/   | /' "$art/$name.log"
    failed+=("$name")
  fi
}
run print_cups "$here/print/test_cups.sh" "$print_test"
run e2e_print "$here/e2e/e2e_print.sh" "$exe" "$sampler"
run e2e_pageview "$here/e2e/e2e_pageview.sh" "$exe" "$sampler"
[ -z "$(ls -A "$fresh/home")" ] || echo "note: the runs left in the fresh home: $(ls -A "$fresh/home")"

[ ${#failed[@]} -eq 0 ] || { echo "FAIL on a fresh machine: ${failed[*]}" >&2; exit 1; }
echo "fresh state: passed"
