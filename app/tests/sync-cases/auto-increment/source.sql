-- auto_increment columns added and changed.
create table added (id int not null auto_increment, v int, primary key (id)) engine=InnoDB;
create table widened (id bigint not null auto_increment, v int, primary key (id)) engine=InnoDB;
create table became (id int not null auto_increment, v int, primary key (id)) engine=InnoDB;
create table indexed (id int not null auto_increment, v int, unique key uq (id, v)) engine=InnoDB;
