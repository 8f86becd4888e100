-- Obsolete columns that keys and foreign keys of the target use; a key of
-- the same name comes back on other columns.
create table parent (id int not null primary key) engine=InnoDB;
create table t (
  id int not null primary key,
  a int,
  key ix_ab (a)
) engine=InnoDB;
create table counted (id int not null auto_increment, v int, primary key (id)) engine=InnoDB;
create table paired (id int not null, primary key (id)) engine=InnoDB;
