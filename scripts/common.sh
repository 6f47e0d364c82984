# Shared by scripts/run and scripts/test: installs the Debian packages the project needs (only the
# missing ones, with one apt-get update when needed) and configures and builds into build/<kind>.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

CA_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libsqlite3-dev sqlite3
  libminizip-dev libpugixml-dev nlohmann-json3-dev
  libfreexl-dev python3-xlrd python3-xlwt python3-pycryptodome clang libclang-rt-14-dev
  xvfb xauth fonts-wqy-zenhei qt6-translations-l10n poppler-utils
  postgresql postgresql-contrib libpq-dev
)

# The Win32 side (scripts/test-win32): mingw-w64 cross compilers and Wine, 32-bit Wine from the i386
# architecture, and the zh_CN locale so that Wine runs with code page 936; the sqlite3 shell compares
# the Windows build's databases with the Linux build's (scripts/fetch-sqlite installs npm if needed);
# the PostgreSQL server, libpq and openssl for the proof against a throw-away server with TLS.
CA_WIN32_PACKAGES=(
  cmake ninja-build nlohmann-json3-dev libgtest-dev locales sqlite3 libsqlite3-dev g++ python3
  postgresql postgresql-contrib libpq-dev openssl
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32
  wine wine64 wine32:i386
)

ca_missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

ca_install_packages() {
  local missing
  missing=$(ca_missing_packages "$@")
  [ -z "$missing" ] && return 0
  echo "Installing missing packages: $(echo $missing | tr '\n' ' ')"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get -o DPkg::Lock::Timeout=600 update -q
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 install -y -q \
    --no-install-recommends $missing
}

# ca_build KIND [cmake options...]: configure once, then build incrementally.
ca_build() {
  local kind="$1"; shift
  local dir="$ROOT/build/$kind"
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
  fi
  cmake --build "$dir" -j "$(nproc)"
}

# Stops when a file still holds the markers of an unresolved merge: such a file may build (a README,
# a script's comment) and yet say two things at once.
ca_check_merge_markers() {
    if git -C "$ROOT" rev-parse --git-dir >/dev/null 2>&1; then
        local hits
        hits="$(git -C "$ROOT" grep -n -I -E '^(<<<<<<<|>>>>>>>) |^=======$' -- . ':!build' || true)"
        if [[ -n "$hits" ]]; then
            echo "unresolved merge markers:" >&2
            echo "$hits" >&2
            return 1
        fi
    fi
}
