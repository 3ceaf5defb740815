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

# Builds through ccache, kept where the machine keeps caches, with paths taken relative to this
# checkout so that another checkout of the same sources reuses what one compiled.
use_compiler_cache() {
    compiler_cache=()
    command -v ccache >/dev/null || return 0
    export CCACHE_BASEDIR=$PWD
    # Debug builds would otherwise key every object on the checkout's own folder.
    export CCACHE_NOHASHDIR=true
    compiler_cache=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
}
