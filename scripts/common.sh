# Shared by the set-up commands: stop with a clear message on any failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

fail() {
    echo "tamrivo: $*" >&2
    exit 1
}
trap 'fail "step failed at line $LINENO of ${BASH_SOURCE[0]##*/}: $BASH_COMMAND"' ERR

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

build_jobs() { nproc 2>/dev/null || echo 2; }
