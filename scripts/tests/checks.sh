# Sourced first by every bash test script (they all sit two folders below the checkout's root):
# stops at the first command that fails and names it, so that no test ends with a status and
# nothing else. Checks whose failure needs the value to be understood say it themselves:
#   fail "what was wrong: what came instead"
#   expect_eq ACTUAL EXPECTED [WHAT]    compares two texts and shows both when they differ
# Output that a check searches is kept in a variable or a file and searched there (grep ... <<<"$x"),
# never piped from its producer into a reader that may stop early (grep -q, head): under pipefail
# the producer's SIGPIPE would fail the check whenever the reader stopped before it finished.
set -Eeuo pipefail
# Also inside the tests' functions; not in a command substitution (the command using it stops).
ca_check_failed() {
  [[ $- != *e* || $BASH_SUBSHELL -gt 0 ]] || echo "FAIL: $(basename "$0"), line $2: $3 (status $1)" >&2
}
trap 'ca_check_failed $? $LINENO "$BASH_COMMAND"' ERR

fail() {
  echo "FAIL: $(basename "$0"), line ${BASH_LINENO[0]}: $*" >&2
  exit 1
}

expect_eq() {
  [ "$1" = "$2" ] && return 0
  echo "FAIL: $(basename "$0"), line ${BASH_LINENO[0]}: ${3:-unexpected text}" >&2
  printf -- '--- expected:\n%s\n--- got:\n%s\n' "$2" "$1" >&2
  exit 1
}
