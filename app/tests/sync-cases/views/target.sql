create table t (a int) engine=InnoDB;
create view v as select a, a as b from t;
