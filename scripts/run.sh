#!/usr/bin/env bash
# Installs what is missing, builds, and starts Zembrola.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh"
"$here/scripts/build.sh"
echo "Built. The calendar window is not part of this build yet; run scripts/test.sh for the tests."
