#!/usr/bin/env bash
# Takes the pictures of the user's guide (docs/bilder/) again from the real program, on a
# virtual display of its own so that they do not depend on the desktop they are made on. The
# pictures in docs/bilder/ are replaced only when every picture could be taken.
set -euo pipefail
LEXORA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$LEXORA_ROOT/tools/common.sh"

lexora_install_packages
build="$LEXORA_ROOT/build/release"
cmake -S "$LEXORA_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --parallel "$(nproc)" --target lexora_screenshots

pictures=$(mktemp -d)
trap 'rm -rf "$pictures"' EXIT
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    "$build/tools/screenshots/lexora_screenshots" "$pictures"
mkdir -p "$LEXORA_ROOT/docs/bilder"
rm -f "$LEXORA_ROOT/docs/bilder/"*.png
cp "$pictures/"*.png "$LEXORA_ROOT/docs/bilder/"
echo "Bilder in $LEXORA_ROOT/docs/bilder/ erneuert."
