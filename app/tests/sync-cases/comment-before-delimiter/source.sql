/*
 * A dump that begins with a licence comment; a stored function follows
 * under another delimiter.
 */
DELIMITER //
create function with_tax(p decimal(10,2)) returns decimal(10,2) deterministic
begin
  return p * 1.2;
end//
DELIMITER ;
create table item (id int not null primary key, price decimal(10,2) not null default 0) engine=InnoDB;
