-- Tables that moved from Aria to InnoDB: Aria's page options must go too.
create table plain (a int) engine=InnoDB default charset=latin1;
create table logged (a int) engine=InnoDB default charset=latin1;
create table stays (a int) engine=Aria default charset=latin1;
