#!/bin/sh
# Runs one test binary with a home, temporary, runtime and settings folder of its own, so that
# no test sees another's settings file, lock file or program folder.
root=$(mktemp -d "${TMPDIR:-/tmp}/tarvtest.XXXXXX") || exit 1
mkdir -p "$root/home" "$root/tmp" "$root/run" "$root/config"
chmod 700 "$root/run"
HOME="$root/home" TMPDIR="$root/tmp" XDG_RUNTIME_DIR="$root/run" XDG_CONFIG_HOME="$root/config" "$@"
rc=$?
rm -rf "$root"
exit $rc
