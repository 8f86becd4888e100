create table doc (
  id int not null primary key,
  code varchar(10),
  title varchar(100),
  body text,
  unique key uq_code (code),
  key ix_title (title)
) engine=InnoDB;
