#!/usr/bin/env bash
# Black-box check of `user` and `password`: the first super user of a new database, the password
# read from standard input, refusals that leave nothing behind, and the stored form of a password.
set -euo pipefail
CLI="$1"
DIR="$(mktemp -d)"
trap 'rm -rf "$DIR"' EXIT
trap 'echo "failed at line $LINENO: $BASH_COMMAND" >&2' ERR
DB="$DIR/DB.sqlite"
refused() { if "$@" >/dev/null 2>"$DIR/err"; then echo "accepted: $*" >&2; exit 1; fi; }

echo 'Secret密码1' | "$CLI" user add --name 管理员 --department 办公室 --category 1 --db "$DB" >/dev/null
echo "it's" | "$CLI" user add --name "O'Neil" --department "Bob's 部门" --db "$DB" >/dev/null
echo 'pw' | "$CLI" user add --name 小王 --department 办公室 --category 2 --db "$DB" >/dev/null
[ "$("$CLI" user list --db "$DB")" = "$(printf '编码\t姓名\t部门\t用户类别\n1\t管理员\t办公室\t超级用户\n2\tO'"'"'Neil\tBob'"'"'s 部门\t普通用户\n3\t小王\t办公室\tQP用户')" ]
[ "$("$CLI" sql "select count(*) as n from DEP" --db "$DB" | tail -1)" = "2" ]
# Every new user has one refused permission per fee item.
[ "$("$CLI" sql "select count(*) as n from limit where L_pers_id=2 and L_have_Limit=0" --db "$DB" | tail -1)" = \
  "$("$CLI" sql "select count(*) as n from func_desc" --db "$DB" | tail -1)" ]

# The stored form deciphers to the password.
STORED="$("$CLI" sql "select E_pwd from employee where E_ID=1" --db "$DB" | tail -1)"
[ "$STORED" = "$("$CLI" password encrypt 'Secret密码1')" ]
[ "$("$CLI" password decrypt "$STORED")" = 'Secret密码1' ]
[ "$("$CLI" password decrypt "$(echo "$STORED" | tr 'A-F' 'a-f')")" = 'Secret密码1' ]
[ "$("$CLI" password encrypt '')" = "$("$CLI" password encrypt '' --key 47152903)" ]
[ "$("$CLI" password encrypt abc --key other)" != "$("$CLI" password encrypt abc)" ]
[ ${#STORED} = 32 ]

echo 'Neu' | "$CLI" user passwd --name 小王 --db "$DB" >/dev/null
[ "$("$CLI" sql "select E_pwd from employee where E_ID=3" --db "$DB" | tail -1)" = "$("$CLI" password encrypt Neu)" ]

# Refusals: nothing written.
BEFORE="$("$CLI" sql "select * from employee" --db "$DB"; "$CLI" sql "select * from DEP" --db "$DB")"
echo 'x' | refused "$CLI" user add --name 小王 --department 新部门 --db "$DB"
grep -q '已经存在相同的用户名称！' "$DIR/err"
echo 'x' | refused "$CLI" user add --name 小李 --department 办公室 --category 3 --db "$DB"
printf '' | refused "$CLI" user add --name 小李 --department 办公室 --db "$DB"
grep -q '请输入密码！' "$DIR/err"
echo '' | refused "$CLI" user passwd --name 小王 --db "$DB"
echo 'x' | refused "$CLI" user passwd --name 没有这个人 --db "$DB"
grep -q '用户不存在' "$DIR/err"
# A character GBK cannot hold would be stored as "?", so "p😀w" and "p?w" would share one cipher text.
echo 'p😀w' | refused "$CLI" user passwd --name 小王 --db "$DB"
grep -q '“😀”（U+1F600）' "$DIR/err"
echo 'p😀w' | refused "$CLI" user add --name 小李 --department 办公室 --db "$DB"
# Blanks only, half- or full-width, are no password.
for blank in ' ' '　' '  　 '; do
  echo "$blank" | refused "$CLI" user passwd --name 小王 --db "$DB"
  grep -q '密码不能只有空格' "$DIR/err"
  echo "$blank" | refused "$CLI" user add --name 小李 --department 办公室 --db "$DB"
done
# The cipher tool refuses what the stored form could not hold, as the user commands do.
refused "$CLI" password encrypt 'p😀w'
grep -q '“😀”（U+1F600）' "$DIR/err"
refused "$CLI" user add --name --db "$DB"
refused "$CLI" password decrypt G
refused "$CLI" password decrypt ''
refused "$CLI" password encrypt
AFTER="$("$CLI" sql "select * from employee" --db "$DB"; "$CLI" sql "select * from DEP" --db "$DB")"
[ "$BEFORE" = "$AFTER" ]
# One name rule: user add calls "Ａｄｍｉｎ" the same name as "admin", so user passwd finds it too.
echo 'pw' | "$CLI" user add --name Admin --department 办公室 --db "$DB" >/dev/null
echo 'x' | refused "$CLI" user add --name ＡＤＭＩＮ --department 办公室 --db "$DB"
grep -q '已经存在相同的用户名称！' "$DIR/err"
for typed in ＡＤＭＩＮ admin ' Admin '; do
  echo "new-$typed" | "$CLI" user passwd --name "$typed" --db "$DB" >/dev/null
  [ "$("$CLI" sql "select E_pwd from employee where E_name='Admin'" --db "$DB" | tail -1)" = \
    "$("$CLI" password encrypt "new-$typed")" ]
done
echo ok
