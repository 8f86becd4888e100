create table wider (id int not null, code char(3) not null, primary key (id)) engine=InnoDB;
create table newkey (id int not null) engine=InnoDB;
create table counted (id int not null auto_increment, code char(3) not null, primary key (id)) engine=InnoDB;
