-- Comments holding ")", ";", "--", "#" and "foreign key".
create table t (
  a int comment 'a) closing; -- not a comment',
  b varchar(10) default 'x;y' comment 'foreign key (b) references t (a)',
  c int comment '# hash; and ''quotes'' and \\ backslash'
) engine=InnoDB comment='table ) comment; -- here';
