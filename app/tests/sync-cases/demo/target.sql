-- The demo shop's schema as it was a release ago; tools/run loads it into
-- velmora_demo_target, the database the demo synchronizes.
create table customers (
  id int unsigned not null auto_increment,
  email varchar(80) not null,
  full_name varchar(100) not null,
  created_at datetime not null default current_timestamp,
  primary key (id)
) engine=InnoDB default charset=utf8mb4;

create table products (
  id int unsigned not null auto_increment,
  sku varchar(20) not null,
  name varchar(100) not null,
  price decimal(8,2) not null default 0.00,
  stock int not null default 0,
  primary key (id),
  unique key uq_products_sku (sku)
) engine=InnoDB default charset=utf8mb4;

create table orders (
  id int unsigned not null auto_increment,
  customer_id int unsigned not null,
  ordered_at datetime not null,
  status enum('new','paid','shipped') not null default 'new',
  primary key (id),
  key ix_orders_customer (customer_id),
  constraint fk_orders_customer foreign key (customer_id) references customers (id)
) engine=InnoDB default charset=utf8mb4;

create table order_items (
  order_id int unsigned not null,
  product_id int unsigned not null,
  quantity int not null default 1,
  unit_price decimal(8,2) not null,
  primary key (order_id, product_id),
  constraint fk_order_items_order foreign key (order_id) references orders (id) on delete cascade
) engine=InnoDB default charset=utf8mb4;

insert into customers (id, email, full_name, created_at) values
  (1, 'ada.moreno@example.com', 'Ada Moreno', '2026-01-12 09:30:00'),
  (2, 'lin.okafor@example.com', 'Lin Okafor', '2026-02-03 14:05:00');
insert into products (id, sku, name, price, stock) values
  (1, 'KT-100', 'Chef''s knife', 49.90, 12),
  (2, 'CF-210', 'Pour-over kettle', 34.50, 7);
insert into orders (id, customer_id, ordered_at, status) values
  (1, 1, '2026-04-02 10:15:00', 'shipped'),
  (2, 2, '2026-04-09 16:20:00', 'paid');
insert into order_items (order_id, product_id, quantity, unit_price) values
  (1, 1, 1, 49.90), (1, 2, 1, 34.50);
