create table p (id int not null, v varchar(5), primary key (id)) engine=InnoDB
  partition by range (id) (partition p0 values less than (100), partition p1 values less than maxvalue);
