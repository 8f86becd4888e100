create table parent (id int not null primary key) engine=InnoDB;
create table t (
  id int not null primary key,
  a int,
  b int,
  pid int,
  unique key uq_ba (b, a),
  key ix_ab (a, b),
  key ix_b (b),
  constraint fk_pid foreign key (pid) references parent (id)
) engine=InnoDB;
create table counted (id int not null auto_increment, v int, gone int not null, primary key (id, gone)) engine=InnoDB;
create table paired (id int not null, gone int not null, primary key (id, gone)) engine=InnoDB;
