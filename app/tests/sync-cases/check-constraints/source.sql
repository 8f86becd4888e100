-- Table-level check constraints: new and changed; a column-level one.
create table t (
  a int check (a >= 0),
  b int,
  constraint ck_b check (b > 1),
  constraint ck_ab check (a < b)
) engine=InnoDB;
