create table k (
  a int,
  b int,
  s int generated always as (a - b) virtual,
  e enum('x)', 'y,z') default 'x)',
  d decimal(10,1),
  n varchar(20)
) engine=InnoDB default charset=latin1;
