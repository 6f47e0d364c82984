#!/bin/bash
# An export interrupted with Ctrl+C (SIGINT) or a termination request while it writes leaves no
# temporary file and the previous file as it was: CLI
source "$(dirname "$0")/../../scripts/tests/checks.sh"
cli="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shopt -s nullglob
set -m  # the export runs in its own process group with the signals' default actions

# 12,000 rows of 31 distinct texts: about 12 MB, so the write takes a moment.
awk 'BEGIN { for (r = 0; r < 12000; r++) { line = ""; for (c = 0; c < 31; c++)
       line = line (c ? "\t" : "") "cell-" r "-" c "-abcdefghijklmnop"; print line } }' > "$work/big.tsv"
printf 'old\n' | "$cli" xls-write "$work/out.xls"
cp "$work/out.xls" "$work/old.xls"

for sig in INT TERM; do
    interrupted=""
    for attempt in 1 2 3 4 5; do
        "$cli" xls-write "$work/out.xls" < "$work/big.tsv" &
        pid=$!
        # Signal as soon as the temporary file appears (the workbook is then being written).
        while kill -0 "$pid" 2>/dev/null; do
            tmps=("$work"/out.xls.tmp*)
            if [ ${#tmps[@]} -gt 0 ]; then kill -s "$sig" "$pid" 2>/dev/null || true; break; fi
        done
        status=0
        wait "$pid" || status=$?
        leftovers=("$work"/*.tmp*)
        [ ${#leftovers[@]} -eq 0 ] || fail "SIG$sig left ${leftovers[*]}"
        if [ "$status" -gt 128 ]; then
            cmp -s "$work/out.xls" "$work/old.xls" || fail "SIG$sig changed the file"
            interrupted=yes
            break
        fi
        # The export finished before the signal arrived: start from the old file and try again.
        [ "$status" -eq 0 ] || fail "export failed with status $status"
        cp "$work/old.xls" "$work/out.xls"
    done
    [ -n "$interrupted" ] || { echo "SKIP: the export always finished before SIG$sig"; exit 77; }
done
echo ok
