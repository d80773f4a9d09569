#!/usr/bin/env bash
# Builds what is missing and starts the editor; arguments are passed to it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh"
exec "${ORVANE_BUILD_DIR:-$here/build}/orvane" "$@"
