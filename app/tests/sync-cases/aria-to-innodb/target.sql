create table plain (a int) engine=Aria default charset=latin1;
create table logged (a int) engine=Aria default charset=latin1 transactional=1;
create table stays (a int) engine=Aria default charset=latin1 transactional=0;
