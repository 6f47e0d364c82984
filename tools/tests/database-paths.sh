#!/usr/bin/env bash
# Black-box check: no command writes a file onto the database or one of the files SQLite keeps beside
# it, whatever spelling names the database (a link, a chain of links, "..", the folder bind-mounted
# under another name) and whatever spelling names the output, while another program holds the
# database open (its -wal and -shm exist) and after it closed (they do not exist yet). A damaged
# database is refused by the commands that change it; a database on a read-only disk is read by the
# reading commands and refused with the reason by the changing ones.
set -uo pipefail
CLI="$(realpath "$1")"
DIR="$(mktemp -d)"
MOUNTS=()
HOLDER=""
cleanup() {
  [ -n "$HOLDER" ] && kill "$HOLDER" 2>/dev/null && wait "$HOLDER" 2>/dev/null
  for m in "${MOUNTS[@]}"; do umount "$m" 2>/dev/null; done
  chmod -R u+w "$DIR" 2>/dev/null
  rm -rf "$DIR"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$DIR" || exit 1
mkdir real other desk
DB="$DIR/real/DB.sqlite"
"$CLI" sql --db "$DB" "insert into LoadData(TY_No,HG_No,SB_Date,indate,inouttype,SBDW_No,JGFS) values
  ('520120111000000001','520100000000000001','2011-01-06','2011-01-06','进口报关单','5201980001','一般贸易')" \
  >/dev/null 2>&1 || fail "fixture"
ln -s ../real/DB.sqlite other/link.sqlite
ln -s link.sqlite other/chain.sqlite
ln -s ../real other/realdir
# The database's folder under a second name, where this machine lets the test make one.
BIND=""
mkdir alias
if mount --bind "$DIR/real" "$DIR/alias" 2>"$DIR/mount.err"; then
  MOUNTS+=("$DIR/alias")
  BIND="$DIR/alias"
else
  echo "bind-mount alias skipped (mount --bind needs root and a kernel that allows it): $(cat "$DIR/mount.err")"
fi

# Spellings of the database for --db (and, as DB.sqlite in the working folder, for the commands that
# take the default database).
DBS=("$DB" "$DIR/other/link.sqlite" "$DIR/other/chain.sqlite" "$DIR/other/../real/DB.sqlite")
[ -n "$BIND" ] && DBS+=("$BIND/DB.sqlite")

# Spellings of one of the database's files (companion "" for the file itself) as an output.
outputs_for() {
  local c="$1"
  printf '%s\n' "$DIR/real/DB.sqlite$c" "$DIR/other/../real/DB.sqlite$c" "$DIR/other/realdir/DB.sqlite$c"
  ln -sfn "../real/DB.sqlite$c" "$DIR/other/out$c.xls"  # dangling while the companion does not exist
  printf '%s\n' "$DIR/other/out$c.xls"
  [ -n "$BIND" ] && printf '%s\n' "$BIND/DB.sqlite$c"
  return 0
}

# The database and its journals; the -shm is left out: a reader looking at the file (migrate checks
# its source) marks its place there.
fingerprint() { cat "$DIR"/real/DB.sqlite "$DIR"/real/DB.sqlite-wal "$DIR"/real/DB.sqlite-journal 2>/dev/null | md5sum; }

# Every writing command, aimed at `out` with the database `db`; each must refuse.
refused_everywhere() {
  local db="$1" out="$2" before
  before="$(fingerprint)"
  ln -sfn "$db" "$DIR/desk/DB.sqlite"
  local -a runs=(
    "business-data --db $db --month 2011-01 --unit '' --out $out"
    "business-data --db $db --month 2011-01 --unit '' --non-general-trade --out $out"
    "fee-query --db $db --out $out"
    "migrate --from $db --to $out"
  )
  for run in "${runs[@]}"; do
    if eval "\"\$CLI\" $run" </dev/null >/dev/null 2>"$DIR/err"; then fail "accepted: $run"; fi
    grep -qF "数据库" "$DIR/err" || fail "no reason for $run: $(cat "$DIR/err")"
  done
  # The commands without --db spare the database the program would use: DB.sqlite here.
  if (cd "$DIR/desk" && printf 'a\tb\n' | "$CLI" xls-write "$out" >/dev/null 2>"$DIR/err"); then
    fail "xls-write accepted $out (database $db)"
  fi
  grep -qF "数据库" "$DIR/err" || fail "xls-write $out: $(cat "$DIR/err")"
  if (cd "$DIR/desk" && "$CLI" config set 申报单位 某某 --file "$out" >/dev/null 2>"$DIR/err"); then
    fail "config set accepted $out (database $db)"
  fi
  grep -qF "数据库" "$DIR/err" || fail "config set $out: $(cat "$DIR/err")"
  [ "$(fingerprint)" = "$before" ] || fail "the database's files changed through $out (database $db)"
}

check_table() {
  for db in "${DBS[@]}"; do
    for c in "$@"; do
      while read -r out; do refused_everywhere "$db" "$out"; done < <(outputs_for "$c")
    done
  done
}

# 1. Another program holds the database open and has written to it: its -wal and -shm exist.
python3 - "$DB" "$DIR/holder.ready" <<'EOF' &
import sqlite3, sys, time, pathlib
db = sqlite3.connect(sys.argv[1], isolation_level=None)
db.execute("insert into DEP(ID, DEP_Name) values (77, '其他程序')")
pathlib.Path(sys.argv[2]).touch()
time.sleep(600)
EOF
HOLDER=$!
for _ in $(seq 100); do [ -e "$DIR/holder.ready" ] && break; sleep 0.1; done
[ -e "$DIR/holder.ready" ] || fail "the other program did not open the database"
[ -e "$DIR/real/DB.sqlite-wal" ] && [ -e "$DIR/real/DB.sqlite-shm" ] || fail "no -wal/-shm while held: $(ls real)"
check_table "" -wal -shm -journal
kill "$HOLDER"; wait "$HOLDER" 2>/dev/null; HOLDER=""

# 2. Nobody holds it: the companions are not there, and still nobody may write them.
"$CLI" sql --db "$DB" "select count(*) from DEP" >/dev/null || fail "reopen"
[ ! -e "$DIR/real/DB.sqlite-wal" ] || fail "-wal left after a clean close: $(ls real)"
check_table -wal -shm

# The database kept every row: the other program's and the fixture's.
[ "$(sqlite3 "$DB" 'pragma integrity_check')" = ok ] || fail "integrity: $(sqlite3 "$DB" 'pragma integrity_check')"
[ "$(sqlite3 "$DB" 'select DEP_Name from DEP where ID=77')" = 其他程序 ] || fail "the other program's row is gone"
[ "$(sqlite3 "$DB" 'select count(*) from LoadData')" = 1 ] || fail "declarations lost"
# The check refuses only the database's files: a file beside it is written.
(cd "$DIR/desk" && printf 'a\tb\n' | "$CLI" xls-write "$DIR/real/DB.sqlite-wal.xls") || fail "a plain output was refused"
"$CLI" fee-query --db "$DIR/other/chain.sqlite" --out "$DIR/other/fees.xls" >/dev/null || fail "a plain export was refused"

# 3. A damaged database: the changing commands refuse it before writing, the file stays as it was.
cp "$DB" "$DIR/damaged.sqlite"
# The page of the first table goes bad (page 2, 4096 bytes each).
printf '\xff%.0s' $(seq 100) | dd of="$DIR/damaged.sqlite" bs=1 seek=$((4096 + 8)) conv=notrunc status=none
[ "$(sqlite3 "$DIR/damaged.sqlite" 'pragma quick_check' 2>&1)" != ok ] || fail "the fixture is not damaged"
before="$(md5sum < "$DIR/damaged.sqlite")"
for run in "fee-item add zdy99 名称" "sql \"insert into DEP(ID,DEP_Name) values (9,'x')\""; do
  if eval "\"\$CLI\" $run --db \"$DIR/damaged.sqlite\"" </dev/null >/dev/null 2>"$DIR/err"; then
    fail "damaged database written by $run"
  fi
  grep -qF "数据库文件已损坏" "$DIR/err" || fail "$run on a damaged file: $(cat "$DIR/err")"
done
if echo pw | "$CLI" user passwd --name x --db "$DIR/damaged.sqlite" >/dev/null 2>"$DIR/err"; then fail "passwd on damage"; fi
grep -qF "数据库文件已损坏" "$DIR/err" || fail "user passwd on a damaged file: $(cat "$DIR/err")"
[ "$(md5sum < "$DIR/damaged.sqlite")" = "$before" ] || fail "the damaged file was changed"

# 4. A database on a read-only disk: read by the reading commands, refused with the reason by the
# changing ones.
if [ -n "$BIND" ]; then
  mkdir ro rosrc
  cp "$DB" rosrc/DB.sqlite
  if mount --bind "$DIR/rosrc" "$DIR/ro" && MOUNTS+=("$DIR/ro") && mount -o remount,bind,ro "$DIR/ro"; then
    for run in "find --from 2011-01-01" "user list" "fee-item list" "fee-query --from 2011-01-01"; do
      # shellcheck disable=SC2086
      "$CLI" $run --db "$DIR/ro/DB.sqlite" >"$DIR/out" 2>"$DIR/err" || fail "$run on a read-only disk: $(cat "$DIR/err")"
    done
    "$CLI" find --from 2011-01-01 --db "$DIR/ro/DB.sqlite" >"$DIR/out" 2>&1
    grep -qF 520120111000000001 "$DIR/out" || fail "find on a read-only disk: $(cat "$DIR/out")"
    if "$CLI" fee-item add zdy98 名称 --db "$DIR/ro/DB.sqlite" >/dev/null 2>"$DIR/err"; then fail "written on a read-only disk"; fi
    grep -qF "只读" "$DIR/err" || fail "fee-item add on a read-only disk: $(cat "$DIR/err")"
  else
    echo "read-only disk skipped: remounting read-only is not allowed here"
  fi
fi
echo "database-paths: ok"
