create table item (id int not null primary key) engine=InnoDB;
