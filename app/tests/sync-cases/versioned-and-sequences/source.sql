-- Sequences are not tables; an unchanged system-versioned table gives nothing.
create sequence s1;
create table hist (a int) with system versioning;
create table plain (a int, b int);
