create table settings (name varchar(40) not null primary key, version varchar(10) not null) engine=InnoDB;
