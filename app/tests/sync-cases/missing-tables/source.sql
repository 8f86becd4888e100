-- Missing tables with foreign keys between them, one pair in a cycle.
create table present (id int not null primary key) engine=InnoDB;
set foreign_key_checks=0;
create table c_child (id int not null primary key, pid int,
  constraint fk_c foreign key (pid) references p_parent (id),
  constraint fk_present foreign key (id) references present (id)) engine=InnoDB;
create table p_parent (id int not null primary key, gid int,
  constraint fk_g foreign key (gid) references g_grand (id)) engine=InnoDB;
create table g_grand (id int not null primary key) engine=InnoDB;
create table x_one (id int not null primary key, yid int) engine=InnoDB;
create table y_two (id int not null primary key, xid int,
  constraint fk_yx foreign key (xid) references x_one (id)) engine=InnoDB;
alter table x_one add constraint fk_xy foreign key (yid) references y_two (id);
