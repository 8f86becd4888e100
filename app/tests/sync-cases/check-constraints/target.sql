create table t (
  a int,
  b int,
  constraint ck_b check (b > 0)
) engine=InnoDB;
