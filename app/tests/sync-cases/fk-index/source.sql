-- An index replaced while foreign keys depend on it.
create table parent (id int not null primary key, code int, unique key uq_code (code, id)) engine=InnoDB;
create table child (
  id int not null primary key,
  pid int,
  name varchar(20),
  key ix_pid (pid, name),
  constraint fk_child_parent foreign key (pid) references parent (id)
) engine=InnoDB;
create table other (id int not null primary key, pcode int, key ix_pcode (pcode),
  constraint fk_other_code foreign key (pcode) references parent (code)) engine=InnoDB;
