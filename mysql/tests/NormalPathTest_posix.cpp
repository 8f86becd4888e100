// Exceptions are for errors: opening a statement, walking its rows to the
// end and closing it throws none. Counted natively, where the runtime's throw
// can be stood in front of.
#include "DbDatabaseTestSupport.h"

#include <cxxabi.h>
#include <dlfcn.h>

namespace {

int gThrows = 0;

} // namespace

namespace __cxxabiv1 {

extern "C" void __cxa_throw(void* object, std::type_info* type, void (*destroy)(void*)) {
  ++gThrows;
  using TThrow = void (*)(void*, std::type_info*, void (*)(void*));
  static const auto next = reinterpret_cast<TThrow>(dlsym(RTLD_NEXT, "__cxa_throw"));
  next(object, type, destroy);
  __builtin_unreachable();
}

} // namespace __cxxabiv1

namespace {

class NormalPath : public TComponentsOnServer {};

TEST_F(NormalPath, StatementsRunToTheirEndWithoutAnException) {
  auto db = NewDatabase();
  db->Open();
  db->Execute("CREATE TABLE IF NOT EXISTS normal_path (id INT PRIMARY KEY, name VARCHAR(20), note TEXT)");
  db->Execute("REPLACE INTO normal_path VALUES (1, 'one', NULL), (2, 'two', 'a note')");
  const char* const statements[] = {
      "select id, name, note from normal_path order by id",
      "select id from normal_path where id < 0",
      "show create table normal_path",
      "show tables",
  };
  for (const char* sql : statements) {
    SCOPED_TRACE(sql);
    const int before = gThrows;
    auto query = NewQuery(*db, sql);
    query->Open();
    String seen;
    for (query->First(); !query->GetEof(); query->Next())
      for (int i = 0; i < query->GetFieldCount(); ++i)
        if (!query->GetFields()[i]->IsNull()) seen += query->GetFields()[i]->GetAsString();
    query->Close();
    EXPECT_EQ(gThrows - before, 0);
  }
  // The count sees what is thrown.
  const int before = gThrows;
  EXPECT_THROW(NewQuery(*db, "select * from no_such_table")->Open(), EmySQLDatabaseError);
  EXPECT_GT(gThrows, before);
}

} // namespace
