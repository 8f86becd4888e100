create table parent (id int not null primary key) engine=InnoDB;
create table child (
  id int not null primary key,
  pid int,
  qid int,
  fid int,
  constraint fk_pid foreign key (pid) references parent (id)
) engine=InnoDB;
