create table t (
  id int not null,
  name varchar(40) default 'x',
  b int,
  c int,
  obsolete text,
  primary key (id)
) engine=InnoDB default charset=latin1;
insert into t (id, name, b, c) values (1, 'one', 2, 3);
