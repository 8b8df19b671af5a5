// store_bench: insertion, lookup and deletion of records under random keys in
// the record store, side by side with SQLite holding the same records under
// the same keys (one statement per operation), at 1 000, 10 000 and 100 000
// records.
//
//   store_bench [WORKDIR] [--defaults-limit N]
//
// Unit transfers per operation: for the store, page and record reads and
// writes (header included); for SQLite, page cache misses and page writes.
// SQLite with its default settings syncs every statement to disk, so that
// variant runs on at most --defaults-limit records (default 10 000).
#include "store/bplustree.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace telvara;

namespace {

struct Item {
    std::string name, device;
    // Formed the way the record holds it.
    std::string key() const { return recordKey(name, device); }
};

// Unique random keys: CP932 company names (ASCII and double-byte) and device numbers.
std::vector<Item> makeItems(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    const char* devices[] = {"51R", "51", "67", "51G", "50/51", "64", "51N", "27"};
    const char* kanji[] = {"\x93\x64\x97\xcd", "\x95\xcf\x93\x64", "\x8a\x94", "\x90\xfc"};
    std::set<std::string> seen;
    std::vector<Item> items;
    while (items.size() < n) {
        Item it;
        const int len = 4 + int(rng() % 12);
        for (int i = 0; i < len && it.name.size() < kKaisyaNameCapacity - 4; ++i)
            it.name += rng() % 5 == 0 ? std::string(kanji[rng() % 4])
                                      : std::string(1, char('A' + rng() % 26));
        it.device = devices[rng() % 8];
        if (seen.insert(std::string(slotKey(it.key()))).second)
            items.push_back(it);
    }
    return items;
}

void fill(TRelayRecord& r, const Item& it) {
    const char* values[] = {"100", "1.0", "0.8", "0.6", "0.5", "0.45", "0.4", "0.05", "4", "20"};
    r.setField(TRecordField::KaisyaName, it.name);
    r.setField(TRecordField::DebaisuNo, it.device);
    for (int f = 2; f < kRecordFieldCount; ++f)
        r.setField(TRecordField(f), values[f - 2]);
}

struct Cost {
    double usPerOp = 0;
    double transfersPerOp = 0;
};
struct Row {
    Cost insert, find, erase;
};

using Clock = std::chrono::steady_clock;
double seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

Row runStore(const std::vector<Item>& items, const std::vector<std::size_t>& findOrder,
             const std::vector<std::size_t>& eraseOrder, const fs::path& dir) {
    fs::create_directories(dir);
    TBPlusTree store;
    store.OpenStore(dir.string());
    Row row;
    const double n = double(items.size());
    auto measure = [&](Cost& cost, auto&& body) {
        const auto t0 = store.transfers().total();
        const auto c0 = Clock::now();
        body();
        cost.usPerOp = seconds(c0, Clock::now()) * 1e6 / n;
        cost.transfersPerOp = double(store.transfers().total() - t0) / n;
    };
    measure(row.insert, [&] {
        for (const Item& it : items) {
            fill(store.CurrentRecord(), it);
            store.InsertCurrent();
        }
    });
    measure(row.find, [&] {
        for (std::size_t i : findOrder)
            if (!store.FindKey(items[i].key()))
                throw std::runtime_error("store lost " + items[i].key());
    });
    measure(row.erase, [&] {
        for (std::size_t i : eraseOrder) {
            store.CurrentRecord().setField(TRecordField::KaisyaName, items[i].name);
            store.CurrentRecord().setField(TRecordField::DebaisuNo, items[i].device);
            store.DeleteCurrent();
        }
    });
    if (store.Height() != 0)
        throw std::runtime_error("store not empty after deleting every record");
    store.CloseStore();
    fs::remove_all(dir);
    return row;
}

void check(int rc, sqlite3* db, int expected = SQLITE_OK) {
    if (rc != expected)
        throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db));
}

int sqlitePages(sqlite3* db) {
    int miss = 0, write = 0, hi = 0;
    sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_MISS, &miss, &hi, 0);
    sqlite3_db_status(db, SQLITE_DBSTATUS_CACHE_WRITE, &write, &hi, 0);
    return miss + write;
}

Row runSqlite(const std::vector<Item>& items, const std::vector<std::size_t>& findOrder,
              const std::vector<std::size_t>& eraseOrder, const fs::path& dir, bool fast) {
    fs::create_directories(dir);
    const std::string file = (dir / "relay.db").string();
    sqlite3* db = nullptr;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot open " + file);
    if (fast)
        check(sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=OFF;", 0, 0, 0), db);
    check(sqlite3_exec(db,
                       "CREATE TABLE relay(key BLOB PRIMARY KEY, kaisya BLOB, debaisu BLOB, "
                       "ct BLOB, t150 BLOB, t200 BLOB, t300 BLOB, t400 BLOB, t500 BLOB, "
                       "t700 BLOB, tinst BLOB, tap BLOB, insttap BLOB)",
                       0, 0, 0),
          db);
    sqlite3_stmt *ins = nullptr, *sel = nullptr, *del = nullptr;
    check(
        sqlite3_prepare_v2(db, "INSERT INTO relay VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &ins, 0),
        db);
    check(sqlite3_prepare_v2(db, "SELECT * FROM relay WHERE key=?", -1, &sel, 0), db);
    check(sqlite3_prepare_v2(db, "DELETE FROM relay WHERE key=?", -1, &del, 0), db);

    Row row;
    const double n = double(items.size());
    auto measure = [&](Cost& cost, auto&& body) {
        const int p0 = sqlitePages(db);
        const auto c0 = Clock::now();
        body();
        cost.usPerOp = seconds(c0, Clock::now()) * 1e6 / n;
        cost.transfersPerOp = double(sqlitePages(db) - p0) / n;
    };
    auto bindKey = [](sqlite3_stmt* st, const std::string& key) {
        sqlite3_bind_blob(st, 1, key.data(), int(key.size()), SQLITE_TRANSIENT);
    };
    TRelayRecord r;
    measure(row.insert, [&] {
        for (const Item& it : items) {
            fill(r, it);
            bindKey(ins, it.key());
            for (int f = 0; f < kRecordFieldCount; ++f) {
                const std::string_view v = r.field(TRecordField(f));
                sqlite3_bind_blob(ins, f + 2, v.data(), int(v.size()), SQLITE_TRANSIENT);
            }
            check(sqlite3_step(ins), db, SQLITE_DONE);
            sqlite3_reset(ins);
        }
    });
    measure(row.find, [&] {
        for (std::size_t i : findOrder) {
            bindKey(sel, items[i].key());
            check(sqlite3_step(sel), db, SQLITE_ROW);
            for (int f = 0; f < kRecordFieldCount; ++f)
                r.setField(
                    TRecordField(f),
                    std::string_view(static_cast<const char*>(sqlite3_column_blob(sel, f + 1)),
                                     std::size_t(sqlite3_column_bytes(sel, f + 1))));
            sqlite3_reset(sel);
        }
    });
    measure(row.erase, [&] {
        for (std::size_t i : eraseOrder) {
            bindKey(del, items[i].key());
            check(sqlite3_step(del), db, SQLITE_DONE);
            sqlite3_reset(del);
        }
    });
    sqlite3_finalize(ins);
    sqlite3_finalize(sel);
    sqlite3_finalize(del);
    sqlite3_close(db);
    fs::remove_all(dir);
    return row;
}

void printRow(const char* what, std::size_t n, const Row& r) {
    auto cell = [](const Cost& c) {
        std::printf(" | %10.0f %8.2f %6.2f", 1e6 / c.usPerOp, c.usPerOp, c.transfersPerOp);
    };
    std::printf("%-26s %8zu", what, n);
    cell(r.insert);
    cell(r.find);
    cell(r.erase);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    fs::path work = fs::temp_directory_path() / ("telvara-store-bench-" + std::to_string(getpid()));
    std::size_t defaultsLimit = 10000;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--defaults-limit" && i + 1 < argc)
            defaultsLimit = std::stoul(argv[++i]);
        else
            work = fs::path(a) / ("telvara-store-bench-" + std::to_string(getpid()));
    }
    std::printf("work folder: %s\n", work.string().c_str());
    std::printf("%-26s %8s | %-26s | %-26s | %-26s\n", "", "records", "insert", "lookup", "delete");
    std::printf("%-26s %8s | %10s %8s %6s | %10s %8s %6s | %10s %8s %6s\n", "", "", "ops/s",
                "us/op", "units", "ops/s", "us/op", "units", "ops/s", "us/op", "units");
    try {
        for (std::size_t n : {1000u, 10000u, 100000u}) {
            const std::vector<Item> items = makeItems(n, 20240601u + unsigned(n));
            std::vector<std::size_t> findOrder(n), eraseOrder(n);
            for (std::size_t i = 0; i < n; ++i)
                findOrder[i] = eraseOrder[i] = i;
            std::mt19937 rng(7);
            std::shuffle(findOrder.begin(), findOrder.end(), rng);
            std::shuffle(eraseOrder.begin(), eraseOrder.end(), rng);

            printRow("store", n, runStore(items, findOrder, eraseOrder, work / "store"));
            printRow("sqlite sync=OFF journal=OFF", n,
                     runSqlite(items, findOrder, eraseOrder, work / "fast", true));
            if (n <= defaultsLimit)
                printRow("sqlite defaults", n,
                         runSqlite(items, findOrder, eraseOrder, work / "defaults", false));
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        fs::remove_all(work);
        return 1;
    }
    fs::remove_all(work);
    return 0;
}
