#!/usr/bin/env bash
# Rewrites the demonstration lexicon in data/demo from the sources in scripts/demo_lexicon/.
# The generator links the program's own libraries, so build them first (./test.sh or
# `cmake --build build-test -t dictionary`); the build folder may be given as the first argument.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build-test"}
libs=()
for l in dictionary/libdictionary.a lexicon/liblexicon.a shell/libshell.a resources/libresources.a platform/libplatform.a; do
  [ -f "$build/$l" ] || { echo "missing $build/$l: build the project first" >&2; exit 1; }
  libs+=("$build/$l")
done
tool=$(mktemp -d)
trap 'rm -rf "$tool"' EXIT
c++ -std=c++20 -O1 -I"$here" "$here/scripts/demo_lexicon/make_demo_lexicon.cpp" \
  -Wl,--start-group "${libs[@]}" -Wl,--end-group -lpthread -o "$tool/make_demo_lexicon"
"$tool/make_demo_lexicon" "$here/scripts/demo_lexicon" "$here/data/demo"
