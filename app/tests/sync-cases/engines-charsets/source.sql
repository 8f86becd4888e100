-- Engines, default character sets, collations, comments and row formats.
create table e (a int, s varchar(10)) engine=MyISAM default charset=latin1;
create table cs (a int, s varchar(10), t text, l varchar(5) character set latin1) engine=InnoDB default charset=utf8mb4;
create table co (s varchar(10)) engine=InnoDB default charset=latin1 collate=latin1_general_ci comment='new comment';
create table rf (a int) engine=InnoDB default charset=latin1;
