#pragma once
// The SQL the copy tests build their tables with: a table of every kind of value SQLite keeps,
// under a name that needs every kind of quoting, and PostgreSQL's own types.
inline const char* SqlOrigemSqlite()
{
    return R"SQL(
CREATE TABLE "t]x""'y z" (id INTEGER PRIMARY KEY, "nome ""x"" ]" NVARCHAR(20) NOT NULL, valor DECIMAL(20, 6),
  grande DECIMAL(30, 10), quando DATETIME, dia DATE, hora TIME, bin BLOB, f REAL, flag BOOLEAN, i8 BIGINT);
INSERT INTO "t]x""'y z" VALUES
  (1, 'ação ü 日本 😀', 12345678.123456, 0.5, '2024-05-01 10:20:30.123456',
   '2024-05-01', '10:20:30', x'00ff10', 0.1, 1, 9223372036854775807),
  (2, '', NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0, NULL),
  (3, 'it''s "q"' || char(13) || char(10) || 'linha', -0.000001, '-1', '1999-12-31 23:59:59', '1900-01-01',
   '23:59:59.500', x'', -1e300, NULL, -9223372036854775808);
)SQL";
}

inline const char* SqlOrigemPostgres()
{
    return R"SQL(
DROP TABLE IF EXISTS "p]x""'y z"; DROP TABLE IF EXISTS volta;
CREATE TABLE "p]x""'y z" (id integer PRIMARY KEY, n numeric, n2 numeric(12, 2), ts timestamp(6), d date,
  t time, b bytea, tx text, vc varchar(5), bo boolean, u uuid, dp double precision, i8 bigint, i2 smallint);
INSERT INTO "p]x""'y z" VALUES
  (1, 1234.5678, 12.50, '2024-05-01 10:20:30.123456', '2024-05-01', '10:20:30',
   '\x00ff'::bytea, 'ação 日本 😀', 'abcde', true, 'a0eebc99-9c0b-4ef8-bb6d-6bb9bd380a11', 0.1, -9223372036854775808, -32768),
  (2, NULL, NULL, NULL, NULL, NULL, NULL, '', NULL, false, NULL, NULL, NULL, NULL),
  (3, -0.000000001, -0.01, '1900-01-01 00:00:00', '0001-01-01', '23:59:59.999999', ''::bytea, E'a\r\nb \\ "{x,NULL}"', 'x''"', NULL,
   NULL, -1e300, 9223372036854775807, 32767);
)SQL";
}

inline const char* SqlRecusa()
{
    return R"SQL(
CREATE TABLE boa (id INTEGER PRIMARY KEY, v TEXT);
INSERT INTO boa VALUES (1, 'a'), (2, 'b');
CREATE TABLE ruim (id INTEGER PRIMARY KEY, nome VARCHAR(10));
WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 1200)
INSERT INTO ruim SELECT i, 'n' || i FROM s;
UPDATE ruim SET nome = 'comprido demais' WHERE id = 1100;
)SQL";
}

inline const char* SqlGrande()
{
    return R"SQL(
CREATE TABLE grande (id INTEGER PRIMARY KEY, v TEXT);
WITH RECURSIVE s(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM s WHERE i < 300000)
INSERT INTO grande SELECT i, 'valor ' || i FROM s;
CREATE TABLE depois (id INTEGER);
)SQL";
}

// Values a spreadsheet keeps as numbers and dates, and those it keeps as their text: integers past
// 2^53, decimals past a double's digits, fractions finer than milliseconds, days before 1900.
inline const char* SqlValoresPlanilha()
{
    return R"SQL(
CREATE TABLE valores (id INTEGER PRIMARY KEY, i8 BIGINT, dec DECIMAL(30, 6), f REAL, txt TEXT,
  quando DATETIME, dia DATE, hora TIME);
INSERT INTO valores VALUES
  (1, 9007199254740993, '12345678901234567.123456', 0.1, 'ação 日本 😀 "x" <&> _x0041_', '2024-05-01 10:20:30.123',
   '2024-05-01', '10:20:30'),
  (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL),
  (3, -5, '0.5', -1e300, 'linha' || char(13) || char(10) || 'dois', '2024-05-01 10:20:30.123456',
   '1899-12-31', '23:59:59.5'),
  (4, 42, '-0.000001', 3.5, ' brancos ', '1900-03-01 00:00:00', '1900-03-01', '00:00:00');
CREATE TABLE "outra]'x" (k TEXT, v INTEGER);
INSERT INTO "outra]'x" VALUES ('a', 1), ('b', NULL);
)SQL";
}
