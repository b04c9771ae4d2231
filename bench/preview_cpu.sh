#!/bin/sh
# The sign preview's CPU use while its picture holds and while it scrolls,
# in the real window on a virtual X server. Usage: bench/preview_cpu.sh [build-dir]
set -e
build=${1:-build-bench}
exec xvfb-run -a -s '-screen 0 1600x1000x24' "$build/bench/ledmarquee-preview-cpu"
