// SQLite holding the same records under the same keys, one row per record.
#include "store/store_format.h"
#include "store_bench_engines.h"

#include <sqlite3.h>
#include <stdexcept>

namespace bench {
namespace {

using namespace telvara;

class SqliteEngine final : public Engine {
public:
    SqliteEngine(const std::filesystem::path& dir, SqliteMode mode) {
        const std::string file = (dir / "relay.db").string();
        if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("cannot open " + file);
        exec(mode == SqliteMode::RollbackFull
                 ? "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;"
                 : "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
        exec("CREATE TABLE relay(key BLOB PRIMARY KEY, kaisya BLOB, debaisu BLOB, ct BLOB, "
             "t150 BLOB, t200 BLOB, t300 BLOB, t400 BLOB, t500 BLOB, t700 BLOB, tinst BLOB, "
             "tap BLOB, insttap BLOB)");
        ins_ = prepare("INSERT INTO relay VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)");
        sel_ = prepare("SELECT * FROM relay WHERE key=?");
        del_ = prepare("DELETE FROM relay WHERE key=?");
    }
    ~SqliteEngine() override {
        sqlite3_finalize(ins_);
        sqlite3_finalize(sel_);
        sqlite3_finalize(del_);
        sqlite3_close(db_);
    }

    void begin() override { exec("BEGIN"); }
    void commit() override { exec("COMMIT"); }

    void add(const Item& item) override {
        TRelayRecord r;
        fillRecord(r, item);
        bindKey(ins_, item);
        for (int f = 0; f < kRecordFieldCount; ++f) {
            const std::string_view v = r.field(TRecordField(f));
            sqlite3_bind_blob(ins_, f + 2, v.data(), int(v.size()), SQLITE_TRANSIENT);
        }
        step(ins_, SQLITE_DONE);
    }
    void remove(const Item& item) override {
        bindKey(del_, item);
        step(del_, SQLITE_DONE);
    }
    bool find(const Item& item) override {
        bindKey(sel_, item);
        const int rc = sqlite3_step(sel_);
        if (rc == SQLITE_ROW)
            for (int f = 0; f < kRecordFieldCount; ++f)
                record_.setField(
                    TRecordField(f),
                    std::string_view(static_cast<const char*>(sqlite3_column_blob(sel_, f + 1)),
                                     std::size_t(sqlite3_column_bytes(sel_, f + 1))));
        sqlite3_reset(sel_);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            fail();
        return rc == SQLITE_ROW;
    }

private:
    [[noreturn]] void fail() {
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db_));
    }
    void exec(const char* sql) {
        if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();
    }
    sqlite3_stmt* prepare(const char* sql) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK)
            fail();
        return st;
    }
    void bindKey(sqlite3_stmt* st, const Item& item) {
        const std::string key = recordKey(item.name, item.device);
        sqlite3_bind_blob(st, 1, key.data(), int(key.size()), SQLITE_TRANSIENT);
    }
    void step(sqlite3_stmt* st, int expected) {
        const int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != expected)
            fail();
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt *ins_ = nullptr, *sel_ = nullptr, *del_ = nullptr;
    TRelayRecord record_;
};

} // namespace

std::unique_ptr<Engine> openSqlite(const std::filesystem::path& dir, SqliteMode mode) {
    return std::make_unique<SqliteEngine>(dir, mode);
}

} // namespace bench
