-- A dump that keeps its schema version up to date: the word after UPDATE
-- is a column, and the dotted version a literal.
create table settings (name varchar(40) not null primary key, version varchar(20) not null) engine=InnoDB;
insert into settings (name, version) values ('schema', '2.0.1') on duplicate key update version='2.0.1';
