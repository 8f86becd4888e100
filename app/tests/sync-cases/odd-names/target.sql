create table `order` (
  `select` int not null,
  `group` varchar(5),
  `extra col` int,
  `key` int,
  primary key (`select`),
  key `index` (`group`),
  unique key `u q` (`key`, `select`)
) engine=InnoDB;
