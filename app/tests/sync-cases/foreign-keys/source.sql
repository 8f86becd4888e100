-- Foreign keys added and changed; one references a table the target lacks.
create table parent (id int not null primary key) engine=InnoDB;
create table fresh (id int not null primary key) engine=InnoDB;
create table child (
  id int not null primary key,
  pid int,
  qid int,
  fid int,
  constraint fk_pid foreign key (pid) references parent (id) on delete cascade,
  constraint fk_qid foreign key (qid) references parent (id),
  constraint fk_fid foreign key (fid) references fresh (id)
) engine=InnoDB;
