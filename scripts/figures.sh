# Sourced by .ci/run and the scripts whose durations a CI run plans with: how long each part of a
# CI run takes. The figure this machine measured last is kept in the cache folder
# (${CA_CACHE_DIR:-$HOME/.cache/customs-assistant}/figures/<name>, seconds); without one, the figure
# of .ci/figures is taken (measured from a fresh clone on a 2-core machine). .ci/figures also lists
# the caches the Windows release needs ("cache" lines): each is filled by scripts/<name>, which
# prints the cache's folder and exits 0 at once when it is there, with --cached builds nothing and
# exits 1 when it is not, and records its own figure when it has built the cache.
CA_FIGURES_CHECKOUT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
CA_FIGURES_DIR="${CA_CACHE_DIR:-$HOME/.cache/customs-assistant}/figures"

# ca_figure NAME: the seconds NAME takes (this machine's last figure, else the committed one);
# status 1 when neither knows NAME.
ca_figure() {
  if [ -s "$CA_FIGURES_DIR/$1" ]; then
    cat "$CA_FIGURES_DIR/$1"
    return 0
  fi
  awk -v name="$1" '$1 !~ /^#/ && $2 == name { print $3; found = 1 } END { exit !found }' \
    "$CA_FIGURES_CHECKOUT/.ci/figures"
}

# ca_figure_record NAME SECONDS: keeps what NAME took on this machine this time.
ca_figure_record() {
  mkdir -p "$CA_FIGURES_DIR" && echo "$2" >"$CA_FIGURES_DIR/$1"
}

# ca_windows_caches: the names of the scripts that fill the Windows release's caches, one a line.
ca_windows_caches() {
  awk '$1 == "cache" { print $2 }' "$CA_FIGURES_CHECKOUT/.ci/figures"
}
