-- New, changed, dropped and reordered columns.
create table t (
  id int not null,
  name varchar(50) default null,
  c int,
  b int,
  added datetime default current_timestamp,
  primary key (id)
) engine=InnoDB default charset=latin1;
insert into t (id, name, c, b) values (1, 'one', 3, 2);
