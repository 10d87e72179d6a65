#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" --target jux
exec "$here/build/app/jux" "$@"
