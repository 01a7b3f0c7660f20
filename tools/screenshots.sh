#!/usr/bin/env bash
# Takes the pictures of the user's guide (docs/bilder/) again from the real program, on a
# virtual display of its own so that they do not depend on the desktop they are made on.
set -euo pipefail
LEXORA_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$LEXORA_ROOT/tools/common.sh"

lexora_install_packages
build="$LEXORA_ROOT/build/release"
cmake -S "$LEXORA_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --parallel "$(nproc)" --target lexora_screenshots
mkdir -p "$LEXORA_ROOT/docs/bilder"
QTWEBENGINE_DISABLE_SANDBOX=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    "$build/tools/screenshots/lexora_screenshots" "$LEXORA_ROOT/docs/bilder"
