#!/usr/bin/env bash
# Installs what is missing, builds the program as shipped (optimised, without asserts) and starts it.
# The program's start folder is JUX_START_DIR (default: workdir/ beside this script); its data
# folder `alt` is filled with the demonstration lexicon when it does not exist yet, and the help
# pages the program opens (resources/help/) are put beside it when missing or older.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/scripts/deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DJUX_ASSERTS=OFF >/dev/null
cmake --build "$here/build" --target jux
start=${JUX_START_DIR:-$here/workdir}
mkdir -p "$start"
if [ ! -e "$start/alt" ]; then
  cp -r "$here/data/demo" "$start/alt"
  rm -f "$start/alt/README.md"
fi
cp -u "$here"/resources/help/*.html "$start/"
cd "$start"
exec "$here/build/app/jux" "$@"
