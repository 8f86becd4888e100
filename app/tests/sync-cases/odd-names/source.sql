-- Reserved words, blanks and backticks in names.
create table `order` (
  `select` int not null,
  `group` varchar(10),
  `my col` int,
  `back``tick` int,
  `key` int,
  primary key (`select`),
  key `index` (`group`, `my col`),
  unique key `u q` (`key`)
) engine=InnoDB;
create table `new table` (`from` int, key `where` (`from`)) engine=InnoDB;
