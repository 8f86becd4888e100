-- The demo shop's schema as it is now; tools/run loads it into
-- velmora_demo_source. Against the older target it has new columns, changed
-- column types, a unique key where there was none, a wider index, a foreign
-- key the target lacks and the categories table the target does not have.
create table customers (
  id int unsigned not null auto_increment,
  email varchar(120) not null,
  full_name varchar(100) not null,
  phone varchar(30) default null,
  created_at datetime not null default current_timestamp,
  primary key (id),
  unique key uq_customers_email (email)
) engine=InnoDB default charset=utf8mb4;

create table categories (
  id int unsigned not null auto_increment,
  name varchar(60) not null,
  parent_id int unsigned default null,
  primary key (id),
  unique key uq_categories_name (name),
  key ix_categories_parent (parent_id),
  constraint fk_categories_parent foreign key (parent_id) references categories (id)
) engine=InnoDB default charset=utf8mb4;

create table products (
  id int unsigned not null auto_increment,
  sku varchar(20) not null,
  name varchar(100) not null,
  category_id int unsigned default null,
  price decimal(10,2) not null default 0.00,
  stock int not null default 0,
  primary key (id),
  unique key uq_products_sku (sku),
  key ix_products_category (category_id),
  constraint fk_products_category foreign key (category_id) references categories (id)
) engine=InnoDB default charset=utf8mb4;

create table orders (
  id int unsigned not null auto_increment,
  customer_id int unsigned not null,
  ordered_at datetime not null,
  status enum('new','paid','shipped','cancelled') not null default 'new',
  note text,
  primary key (id),
  key ix_orders_customer (customer_id, ordered_at),
  constraint fk_orders_customer foreign key (customer_id) references customers (id)
) engine=InnoDB default charset=utf8mb4;

create table order_items (
  order_id int unsigned not null,
  product_id int unsigned not null,
  quantity smallint unsigned not null default 1,
  unit_price decimal(10,2) not null,
  primary key (order_id, product_id),
  key ix_order_items_product (product_id),
  constraint fk_order_items_order foreign key (order_id) references orders (id) on delete cascade,
  constraint fk_order_items_product foreign key (product_id) references products (id)
) engine=InnoDB default charset=utf8mb4;

insert into customers (id, email, full_name, phone, created_at) values
  (1, 'ada.moreno@example.com', 'Ada Moreno', '+1 555 0101', '2026-01-12 09:30:00'),
  (2, 'lin.okafor@example.com', 'Lin Okafor', null, '2026-02-03 14:05:00'),
  (3, 'sam.berg@example.com', 'Sam Berg', '+1 555 0147', '2026-03-21 18:42:00');
insert into categories (id, name, parent_id) values
  (1, 'Kitchen', null), (2, 'Coffee', 1), (3, 'Garden', null);
insert into products (id, sku, name, category_id, price, stock) values
  (1, 'KT-100', 'Chef''s knife', 1, 49.90, 12),
  (2, 'CF-210', 'Pour-over kettle', 2, 34.50, 7),
  (3, 'CF-220', 'Burr grinder', 2, 89.00, 3),
  (4, 'GD-300', 'Watering can', 3, 19.95, 20);
insert into orders (id, customer_id, ordered_at, status, note) values
  (1, 1, '2026-04-02 10:15:00', 'shipped', null),
  (2, 2, '2026-04-09 16:20:00', 'paid', 'Gift wrap, please.'),
  (3, 1, '2026-05-01 08:05:00', 'cancelled', null);
insert into order_items (order_id, product_id, quantity, unit_price) values
  (1, 1, 1, 49.90), (1, 2, 1, 34.50), (2, 3, 1, 89.00), (3, 4, 2, 19.95);
