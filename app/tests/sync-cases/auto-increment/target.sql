create table added (v int) engine=InnoDB;
insert into added values (5), (6);
create table widened (id int not null auto_increment, v int, primary key (id)) engine=InnoDB;
create table became (id int not null, v int) engine=InnoDB;
insert into became values (1, 1), (2, 2);
create table indexed (id int not null auto_increment, v int, unique key uq (id)) engine=InnoDB;
