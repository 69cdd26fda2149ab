# What the tools' scripts share. A script in tools/ starts with
#   . "$(dirname "$0")/lib/common.sh"
# which sets
#   root   the work tree (the scripts' folder's parent), also the current
#          directory
#   lib    this folder, where the helpers are
#   jobs   build jobs: one a CPU
#   tool   the script's name, for its messages
#   caller the folder it was started in
# and gives the functions below. POSIX sh.
set -u
caller=$PWD
root=$(cd "$(dirname "$0")/.." && pwd)
lib="$root/tools/lib"
jobs=$(nproc 2>/dev/null || echo 2)
tool=$(basename "$0")
cd "$root" || exit 2

# fail MESSAGE: says what failed, on standard error, and exits 1.
fail() {
    echo "$tool: $*" >&2
    exit 1
}

# setup: installs what is missing (tools/setup), quietly unless it fails.
setup() {
    "$root/tools/setup" || fail "installing what is missing (tools/setup) FAILED"
}

# cmake_build LOG FOLDER TARGETS CONFIGURE-ARGUMENTS...: configures FOLDER
# with the arguments (a --preset, or -S and the cache's -D settings) and
# builds the targets in it (all when TARGETS is ""), the output in
# LOG-configure.txt and LOG-build.txt; on failure shows the log's end and
# fails.
cmake_build() {
    log=$1 folder=$2 targets=$3
    shift 3
    mkdir -p "$(dirname "$log")"
    if ! cmake -B "$folder" "$@" >"$log-configure.txt" 2>&1; then
        tail -n 40 "$log-configure.txt" >&2
        fail "configure FAILED; log $log-configure.txt"
    fi
    target_args=""
    for t in $targets; do target_args="$target_args --target $t"; done
    # shellcheck disable=SC2086
    if ! cmake --build "$folder" -j "$jobs" $target_args >"$log-build.txt" 2>&1; then
        tail -n 40 "$log-build.txt" >&2
        fail "build FAILED; log $log-build.txt"
    fi
}

# npm_packages DIR: the npm packages of DIR's package-lock.json, installed
# with npm ci when missing or out of date.
npm_packages() {
    if [ -f "$1/node_modules/.package-lock.json" ] && cmp -s "$1/package-lock.json" "$1/node_modules/.rimbeacon-lock"; then
        return 0
    fi
    echo "Installing the npm packages of $1"
    (cd "$1" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error) || fail "npm ci in $1 FAILED"
    cp "$1/package-lock.json" "$1/node_modules/.rimbeacon-lock"
}

# web_npm: the browser tests' npm packages (puppeteer-core, which drives
# Debian's Chromium and downloads no browser, and TypeScript for the type
# check).
web_npm() {
    npm_packages "$root/tests/web"
}

# version: the project's version, from the project() line of CMakeLists.txt.
version() {
    sed -n 's/^project(Rimbeacon VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt"
}
