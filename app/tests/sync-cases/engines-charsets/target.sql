create table e (a int, s varchar(10)) engine=InnoDB default charset=latin1;
create table cs (a int, s varchar(10), t text, l varchar(5) character set latin1) engine=InnoDB default charset=latin1;
create table co (s varchar(10)) engine=InnoDB default charset=latin1 comment='old comment';
create table rf (a int) engine=InnoDB default charset=latin1 row_format=compact comment='gone';
