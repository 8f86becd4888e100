-- A partitioned table: its columns are compared, its partitioning is not.
create table p (id int not null, v varchar(10), extra int, primary key (id)) engine=InnoDB
  partition by range (id) (partition p0 values less than (100), partition p1 values less than maxvalue);
create table fresh (id int not null, primary key (id)) engine=InnoDB partition by hash (id) partitions 2;
