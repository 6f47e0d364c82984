#include "PostgresFunctions.h"

#include "JetTranslator.h"

namespace ca::db {

const std::string& postgresTypesSql() {
    static const std::string sql = R"SQL(
CREATE EXTENSION IF NOT EXISTS citext;

-- A date as the program stores it: YYYY-MM-DD, with " HH:MM:SS" when a time is present. Compared
-- character by character, whatever the server's language, so that the text order is the date order.
CREATE DOMAIN ca_date AS text COLLATE "C"
  CHECK (VALUE ~ '^[0-9]{4}-[0-9]{2}-[0-9]{2}( [0-9]{2}:[0-9]{2}:[0-9]{2})?$');
)SQL";
    return sql;
}

namespace {

// The functions with @S@ standing for the program's schema and @C@ for the schema of citext: every
// call of one of them, and the type citext, names its schema, so that a function works whatever
// search_path it runs under. The server's own upkeep runs with an empty one: autovacuum and ANALYZE
// computing the index on mid(bgno, 10, 9), and a restore of a dump rebuilding that index.
constexpr const char* kFunctions = R"SQL(
-- A number text: sign, digits with one point, an exponent, blanks around; NULL for anything else.
-- A number too small for a double is 0 (as strtod gives it on a desk), one too large is no number.
CREATE OR REPLACE FUNCTION @S@.ca_number(v text) RETURNS double precision LANGUAGE plpgsql IMMUTABLE AS $f$
BEGIN
  IF v IS NULL OR v !~ '^[ \t]*[+-]?([0-9]+(\.[0-9]*)?|\.[0-9]+)([eE][+-]?[0-9]+)?[ \t]*$' THEN
    RETURN NULL;
  END IF;
  RETURN btrim(v, E' \t')::double precision;
EXCEPTION WHEN numeric_value_out_of_range THEN
  BEGIN
    IF abs(btrim(v, E' \t')::numeric) < 1 THEN RETURN 0; END IF;
  EXCEPTION WHEN OTHERS THEN
    RETURN NULL;
  END;
  RETURN NULL;
END $f$;

-- {year, month, day, hour, minute, second} of a date text: YYYY-MM-DD or YYYY/M/D, optionally
-- followed by HH:MM[:SS] after a blank or T; NULL for anything else or an impossible date.
CREATE OR REPLACE FUNCTION @S@.ca_dt_parts(v text) RETURNS int[] LANGUAGE plpgsql IMMUTABLE AS $f$
DECLARE
  m text[];
  y int; mo int; d int; h int := 0; mi int := 0; s int := 0;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  m := regexp_match(v, '^[ \t]*([0-9]{1,4})([-/])([0-9]{1,4})\2([0-9]{1,4})(?:[ T] *([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?)?[ \t]*$');
  IF m IS NULL THEN RETURN NULL; END IF;
  y := m[1]::int; mo := m[3]::int; d := m[4]::int;
  IF y < 1 OR mo < 1 OR mo > 12 OR d < 1
     OR d > extract(day FROM make_date(y, mo, 1) + interval '1 month' - interval '1 day') THEN
    RETURN NULL;
  END IF;
  IF m[5] IS NOT NULL THEN
    h := m[5]::int; mi := m[6]::int; s := coalesce(m[7]::int, 0);
    IF h > 23 OR mi > 59 OR s > 59 THEN RETURN NULL; END IF;
  END IF;
  RETURN ARRAY[y, mo, d, h, mi, s];
END $f$;

-- The stored form of a date text; NULL when it is none.
CREATE OR REPLACE FUNCTION @S@.ca_datetime(v text) RETURNS text LANGUAGE plpgsql IMMUTABLE AS $f$
DECLARE t int[] := @S@.ca_dt_parts(v);
BEGIN
  IF t IS NULL THEN RETURN NULL; END IF;
  RETURN lpad(t[1]::text, 4, '0') || '-' || lpad(t[2]::text, 2, '0') || '-' || lpad(t[3]::text, 2, '0') ||
    CASE WHEN t[4] = 0 AND t[5] = 0 AND t[6] = 0 THEN ''
         ELSE ' ' || lpad(t[4]::text, 2, '0') || ':' || lpad(t[5]::text, 2, '0') || ':' || lpad(t[6]::text, 2, '0')
    END;
END $f$;

CREATE OR REPLACE FUNCTION @S@.ca_mismatch(v text, col text, kind text) RETURNS void LANGUAGE plpgsql IMMUTABLE AS $f$
BEGIN
  RAISE EXCEPTION USING ERRCODE = '22000',
    MESSAGE = '数据类型不匹配：字段“' || col || '”（' || kind || '）不能接受 “' || v || '”';
END $f$;

CREATE OR REPLACE FUNCTION @S@.ca_cv_i(v text, col text) RETURNS bigint LANGUAGE plpgsql IMMUTABLE AS $f$
DECLARE n double precision;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF v ~ '^-?[0-9]{1,15}$' THEN RETURN v::bigint; END IF;
  n := @S@.ca_number(v);
  IF n IS NULL OR n <> floor(n) OR abs(n) >= 9.0e15 THEN PERFORM @S@.ca_mismatch(v, col, '整数'); END IF;
  RETURN n::bigint;
END $f$;

CREATE OR REPLACE FUNCTION @S@.ca_cv_d(v text, col text) RETURNS double precision LANGUAGE plpgsql IMMUTABLE AS $f$
DECLARE n double precision;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  n := @S@.ca_number(v);
  IF n IS NULL THEN PERFORM @S@.ca_mismatch(v, col, '小数'); END IF;
  RETURN n + 0;  -- "-0" is stored as 0
END $f$;

CREATE OR REPLACE FUNCTION @S@.ca_cv_t(v text, col text) RETURNS text LANGUAGE plpgsql IMMUTABLE AS $f$
DECLARE r text;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  r := @S@.ca_datetime(v);
  IF r IS NULL THEN PERFORM @S@.ca_mismatch(v, col, '日期'); END IF;
  RETURN r;
END $f$;

-- mid(text, start[, length]): characters from the 1-based position start, as many as length. A
-- function of one expression, so the server writes it into the statement instead of calling it
-- for every row.
CREATE OR REPLACE FUNCTION @S@.ca_mid_refused(v text) RETURNS @C@.citext LANGUAGE plpgsql IMMUTABLE AS $f$
BEGIN
  RAISE EXCEPTION USING ERRCODE = '22023', MESSAGE = '无效的过程调用：mid 的起始位置小于 1，或长度为负数';
END $f$;

CREATE OR REPLACE FUNCTION @S@.mid(v text, s bigint, l bigint) RETURNS @C@.citext LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE WHEN s < 1 OR l < 0 THEN @S@.ca_mid_refused(v)
              ELSE substr(v, least(s, 2147483647)::int, least(l, 2147483647)::int)::@C@.citext END
$f$;

CREATE OR REPLACE FUNCTION @S@.mid(v text, s bigint) RETURNS @C@.citext LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE WHEN s < 1 THEN @S@.ca_mid_refused(v) ELSE substr(v, least(s, 2147483647)::int)::@C@.citext END
$f$;

-- format(value, pattern) for the date patterns: yyyy yy m mm d dd h hh n nn s ss, m/mm right
-- after h/hh meaning minutes; "..." and \x copied literally. A value that is no date comes back
-- as it is. The month bounds of the queries take the short way for a stored date (digits and
-- separators where a stored date has them), without a regular expression for every row.
CREATE OR REPLACE FUNCTION @S@.ca_format_any(v text, p text) RETURNS text LANGUAGE plpgsql IMMUTABLE AS $f$
DECLARE
  t int[] := @S@.ca_dt_parts(v);
  o text := '';
  i int := 1;
  n int := length(p);
  c text;
  run int;
  x int;
  after_hour boolean := false;
  q int;
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF t IS NULL OR p IS NULL THEN RETURN v; END IF;
  WHILE i <= n LOOP
    c := lower(substr(p, i, 1));
    run := 1;
    WHILE i + run <= n AND lower(substr(p, i + run, 1)) = c LOOP run := run + 1; END LOOP;
    IF c = '"' THEN
      q := strpos(substr(p, i + 1), '"');
      IF q = 0 THEN o := o || substr(p, i + 1); i := n + 1;
      ELSE o := o || substr(p, i + 1, q - 1); i := i + q + 1;
      END IF;
      CONTINUE;
    ELSIF c = '\' AND i < n THEN
      o := o || substr(p, i + 1, 1);
      i := i + 2;
      CONTINUE;
    ELSIF c = 'y' THEN
      o := o || CASE WHEN run >= 3 THEN lpad(t[1]::text, 4, '0') ELSE lpad((t[1] % 100)::text, 2, '0') END;
      after_hour := false;
    ELSIF c IN ('m', 'd', 'h', 'n', 's') THEN
      x := CASE c WHEN 'm' THEN CASE WHEN after_hour THEN t[5] ELSE t[2] END
                  WHEN 'd' THEN t[3] WHEN 'h' THEN t[4] WHEN 'n' THEN t[5] ELSE t[6] END;
      o := o || CASE WHEN run >= 2 THEN lpad(x::text, 2, '0') ELSE x::text END;
      after_hour := c = 'h';
    ELSE
      o := o || substr(p, i, run);
    END IF;
    i := i + run;
  END LOOP;
  RETURN o;
END $f$;

CREATE OR REPLACE FUNCTION @S@.ca_format(v text, p text) RETURNS text LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE
    WHEN v IS NULL THEN NULL
    WHEN lower(p) = 'yyyy-mm-dd hh:mm:ss' AND length(v) = 10 AND translate(v, '0123456789', '') = '--'
         AND substr(v, 5, 1) = '-' AND substr(v, 8, 1) = '-' THEN v || ' 00:00:00'
    WHEN lower(p) = 'yyyy-mm-dd hh:mm:ss' AND length(v) = 19 AND translate(v, '0123456789', '') = '-- ::'
         AND substr(v, 5, 1) = '-' AND substr(v, 8, 1) = '-' AND substr(v, 11, 1) = ' '
         AND substr(v, 14, 1) = ':' THEN v
    ELSE @S@.ca_format_any(v, p)
  END
$f$;

-- nz(value[, default]): Null becomes the default, or 0 for a number and the empty text for a text.
CREATE OR REPLACE FUNCTION @S@.nz(v double precision) RETURNS double precision LANGUAGE sql IMMUTABLE AS $f$
  SELECT coalesce(v, 0)
$f$;
CREATE OR REPLACE FUNCTION @S@.nz(v bigint) RETURNS bigint LANGUAGE sql IMMUTABLE AS $f$
  SELECT coalesce(v, 0)
$f$;
CREATE OR REPLACE FUNCTION @S@.nz(v text) RETURNS text LANGUAGE sql IMMUTABLE AS $f$
  SELECT coalesce(v, '')
$f$;
CREATE OR REPLACE FUNCTION @S@.nz(v anycompatible, d anycompatible) RETURNS anycompatible LANGUAGE sql IMMUTABLE AS $f$
  SELECT coalesce(v, d)
$f$;
CREATE OR REPLACE FUNCTION @S@.len(v text) RETURNS bigint LANGUAGE sql IMMUTABLE AS $f$
  SELECT length(v)::bigint
$f$;
CREATE OR REPLACE FUNCTION @S@.ucase(v text) RETURNS text LANGUAGE sql IMMUTABLE AS $f$
  SELECT translate(v, 'abcdefghijklmnopqrstuvwxyz', 'ABCDEFGHIJKLMNOPQRSTUVWXYZ')
$f$;
CREATE OR REPLACE FUNCTION @S@.lcase(v text) RETURNS text LANGUAGE sql IMMUTABLE AS $f$
  SELECT translate(v, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')
$f$;
CREATE OR REPLACE FUNCTION @S@.ca_now() RETURNS text LANGUAGE sql STABLE AS $f$
  SELECT to_char(localtimestamp, 'YYYY-MM-DD HH24:MI:SS')
$f$;
-- The kind of a value as the statements of the sql window ask for it: integer, real, text, null.
CREATE OR REPLACE FUNCTION @S@.typeof(v anyelement) RETURNS text LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE WHEN v IS NULL THEN 'null'
              WHEN pg_typeof(v) IN ('bigint'::regtype, 'integer'::regtype, 'smallint'::regtype) THEN 'integer'
              WHEN pg_typeof(v) IN ('double precision'::regtype, 'real'::regtype, 'numeric'::regtype) THEN 'real'
              ELSE 'text' END
$f$;
)SQL";

void replaceAll(std::string& text, std::string_view what, const std::string& with) {
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

}  // namespace

std::string postgresFunctionsSql(const std::string& schema, const std::string& citextSchema) {
    std::string sql = kFunctions;
    replaceAll(sql, "@S@", quoteIdentifier(schema));
    replaceAll(sql, "@C@", quoteIdentifier(citextSchema));
    return sql;
}

}  // namespace ca::db
