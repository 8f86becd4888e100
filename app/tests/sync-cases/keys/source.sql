-- Unique, plain and fulltext keys: new and changed.
create table doc (
  id int not null primary key,
  code varchar(10),
  title varchar(100),
  body text,
  unique key uq_code (code, title),
  key ix_title (title(20)),
  fulltext key ft_body (body)
) engine=InnoDB;
