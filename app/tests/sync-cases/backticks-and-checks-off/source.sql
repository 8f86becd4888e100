-- Backticks kept, verbose log, foreign key checks off for the whole script.
create table parent (id int not null auto_increment, `desc` varchar(20), primary key (id, `desc`)) engine=InnoDB;
create table child (
  id int not null,
  pid int,
  `when` date,
  key ix_pid (pid, `when`),
  constraint fk_parent foreign key (pid) references parent (id) on update cascade
) engine=InnoDB comment='child';
create table brand_new (id int not null primary key, pid int, constraint fk_new foreign key (pid) references parent (id)) engine=InnoDB;
