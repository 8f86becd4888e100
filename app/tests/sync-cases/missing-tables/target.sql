create table present (id int not null primary key) engine=InnoDB;
