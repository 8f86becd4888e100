create table t (
  a int comment 'old',
  b varchar(10)
) engine=InnoDB comment='old';
