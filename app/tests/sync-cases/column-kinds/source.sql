-- Generated columns, default expressions, enum and set values with
-- parentheses and commas, json, unsigned and zerofill, charsets per column.
create table k (
  a int unsigned zerofill,
  b int,
  s int generated always as (a + b) virtual,
  p int as (b * 2) persistent,
  e enum('x)', 'y,z', '(w') default 'y,z',
  st set('a', 'b)c') default 'a',
  j json,
  u timestamp not null default current_timestamp on update current_timestamp,
  d decimal(10,2) default 1.50,
  n varchar(20) character set utf8mb4 collate utf8mb4_bin default 'x' comment 'per column'
) engine=InnoDB default charset=latin1;
