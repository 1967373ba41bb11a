#!/bin/bash
# SPDX-License-Identifier: MIT
# Makes the Debian package of the build in a temporary folder and checks what it holds.
# Usage: packagecontents.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
"$source/dist/checkpackage.sh" "$work"/moravelt_*.deb "$source"
echo "PASS"
