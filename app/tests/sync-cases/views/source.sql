-- Views on both sides are not tables.
create table t (a int, b int) engine=InnoDB;
create view v as select a from t;
create view only_source as select 1 as one;
