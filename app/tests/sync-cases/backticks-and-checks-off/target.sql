create table parent (id int not null auto_increment, `desc` varchar(10), primary key (id)) engine=InnoDB;
create table child (
  id int not null,
  pid int,
  key ix_pid (pid),
  constraint fk_parent foreign key (pid) references parent (id)
) engine=InnoDB;
