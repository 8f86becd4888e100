// A generated SQL dump of at least the given size: per table a DROP and a
// CREATE TABLE statement with comments and strings, then INSERT statements
// of forty rows each. Line ends are single CRs, as the editor keeps them.
#pragma once

#include "Classes.h"
#include "SysUtils.h"

#include <cstddef>

inline String GeneratedSqlDump(size_t bytes) {
  String s;
  s.reserve(bytes + 4096);
  for (int t = 0; s.size() < bytes; ++t) {
    String name = "table_" + IntToStr(t);
    s += "DROP TABLE IF EXISTS `" + name + "`;\r/*!40101 SET character_set_client = utf8 */;\r";
    s += "CREATE TABLE `" + name + "` (\r  `id` int(11) unsigned NOT NULL AUTO_INCREMENT,\r";
    s += "  `code` varchar(32) NOT NULL DEFAULT '' COMMENT 'the item''s code',\r";
    s += "  `price` decimal(12,2) DEFAULT NULL, -- in cents\r  `seen` datetime DEFAULT CURRENT_TIMESTAMP,\r";
    s += "  PRIMARY KEY (`id`),\r  UNIQUE KEY `ux_code` (`code`)\r) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;\r";
    for (int chunk = 0; chunk < 20; ++chunk) {
      s += "INSERT INTO `" + name + "` VALUES ";
      for (int r = 0; r < 40; ++r) {
        int id = chunk * 40 + r;
        s += (r ? ",(" : "(") + IntToStr(id) + ",'code-" + IntToStr(id * 7919 % 100000) + "\\n'," +
             IntToStr(id % 977) + "." + IntToStr(id % 100) + ",'2024-01-" + IntToStr(1 + id % 28) +
             " 12:00:00')";
      }
      s += ";\r";
    }
  }
  return s;
}
