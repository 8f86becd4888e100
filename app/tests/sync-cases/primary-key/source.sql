-- Primary keys changed and added.
create table wider (id int not null, code char(3) not null, primary key (id, code)) engine=InnoDB;
create table newkey (id int not null, primary key (id)) engine=InnoDB;
create table counted (id int not null auto_increment, code char(3) not null, primary key (id, code)) engine=InnoDB;
