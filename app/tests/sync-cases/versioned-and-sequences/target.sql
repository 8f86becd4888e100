create sequence s1 increment by 2;
create table hist (a int) with system versioning;
create table plain (a int);
