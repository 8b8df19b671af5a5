// store_bench: the record store side by side with SQLite holding the same
// records under the same random keys, at 1 000, 10 000 and 100 000 records.
//
//   store_bench [WORKDIR] [--single N] [--sizes N,N,...]
//
// SQLite runs twice: with its rollback journal and synchronous=FULL (its safe
// default) and with WAL and synchronous=NORMAL. For each size every engine
// first receives the records in commits of 1 000 additions, then looks every
// record up in random order, then adds and removes N further records (default
// 300) one per commit, and finally removes the records in random order, 1 000
// per commit. "syncs" counts every fsync and fdatasync of the process per
// operation (the folder's included). Run it on the disk the store will use:
// a RAM file system makes every sync free.
#include "store_bench_engines.h"
#include "sync_count.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace bench;

namespace {

constexpr std::size_t kBatch = 1000;

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
        for (int i = 0; i < len && it.name.size() < telvara::kKaisyaNameCapacity - 4; ++i)
            it.name += rng() % 5 == 0 ? std::string(kanji[rng() % 4])
                                      : std::string(1, char('A' + rng() % 26));
        it.device = devices[rng() % 8];
        if (seen.insert(std::string(telvara::slotKey(telvara::recordKey(it.name, it.device))))
                .second)
            items.push_back(it);
    }
    return items;
}

struct Cost {
    double usPerOp = 0;
    double syncsPerOp = 0;
};
struct Row {
    Cost addOne, removeOne, addBatch, removeBatch, lookup;
};

using Clock = std::chrono::steady_clock;

template <class Body> Cost measure(std::size_t ops, Body&& body) {
    const std::uint64_t s0 = syncCalls();
    const auto t0 = Clock::now();
    body();
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    return {us / double(ops), double(syncCalls() - s0) / double(ops)};
}

// Applies `op` to items[order[i]], kBatch to a commit.
template <class Op>
void inBatches(Engine& e, const std::vector<Item>& items, const std::vector<std::size_t>& order,
               Op op) {
    for (std::size_t i = 0; i < order.size(); i += kBatch) {
        e.begin();
        for (std::size_t j = i; j < std::min(order.size(), i + kBatch); ++j)
            op(items[order[j]]);
        e.commit();
    }
}

Row run(Engine& e, const std::vector<Item>& items, std::size_t n) {
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i)
        order[i] = i;
    Row row;
    row.addBatch =
        measure(n, [&] { inBatches(e, items, order, [&](const Item& it) { e.add(it); }); });
    std::mt19937 rng(7);
    std::shuffle(order.begin(), order.end(), rng);
    row.lookup = measure(n, [&] {
        for (std::size_t i : order)
            if (!e.find(items[i]))
                throw std::runtime_error("a stored record was not found");
    });
    const std::size_t single = items.size() - n;
    row.addOne = measure(single, [&] {
        for (std::size_t i = n; i < items.size(); ++i)
            e.add(items[i]);
    });
    row.removeOne = measure(single, [&] {
        for (std::size_t i = n; i < items.size(); ++i)
            e.remove(items[i]);
    });
    std::shuffle(order.begin(), order.end(), rng);
    row.removeBatch =
        measure(n, [&] { inBatches(e, items, order, [&](const Item& it) { e.remove(it); }); });
    if (e.find(items[order.front()]))
        throw std::runtime_error("a removed record is still there");
    return row;
}

void printRow(std::size_t n, const char* engine, const Row& r, double storeLookupUs) {
    std::printf("%7zu %-22s", n, engine);
    for (const Cost* c : {&r.addOne, &r.removeOne, &r.addBatch, &r.removeBatch})
        std::printf(" | %9.1f %5.3f", c->usPerOp, c->syncsPerOp);
    std::printf(" | %7.2f %5.2fx\n", r.lookup.usPerOp, r.lookup.usPerOp / storeLookupUs);
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

} // namespace

int main(int argc, char** argv) {
    fs::path work = fs::temp_directory_path();
    std::size_t single = 300;
    std::vector<std::size_t> sizes = {1000, 10000, 100000};
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--single" && i + 1 < argc) {
            single = std::stoul(argv[++i]);
        } else if (a == "--sizes" && i + 1 < argc) {
            sizes.clear();
            for (std::size_t pos = 0, end; pos != std::string::npos; pos = end) {
                end = std::string(argv[i + 1]).find(',', pos);
                sizes.push_back(std::stoul(std::string(argv[i + 1]).substr(pos, end - pos)));
                if (end != std::string::npos)
                    ++end;
            }
            ++i;
        } else {
            work = a;
        }
    }
    work /= "telvara-store-bench-" + std::to_string(getpid());
    std::printf("work folder: %s   load average: %s   %ld cores\n", work.string().c_str(),
                loadAverage().c_str(), sysconf(_SC_NPROCESSORS_ONLN));
    std::printf("us per operation and fsync/fdatasync calls per operation; lookup: us and "
                "time against the store's\n");
    std::printf("%7s %-22s | %-16s | %-16s | %-16s | %-16s | %s\n", "records", "engine",
                "add, 1/commit", "remove, 1/commit", "add, 1000/commit", "remove, 1000/com.",
                "lookup");
    try {
        for (std::size_t n : sizes) {
            const std::vector<Item> items = makeItems(n + single, 20240601u + unsigned(n));
            double storeLookupUs = 0;
            auto one = [&](const char* name, auto open) {
                const fs::path dir = work / name;
                fs::create_directories(dir);
                Row row;
                {
                    std::unique_ptr<Engine> e = open(dir);
                    row = run(*e, items, n);
                }
                fs::remove_all(dir);
                if (storeLookupUs == 0)
                    storeLookupUs = row.lookup.usPerOp;
                printRow(n, name, row, storeLookupUs);
                std::fflush(stdout);
            };
            one("store", [](const fs::path& d) { return openStore(d); });
            one("sqlite rollback FULL",
                [](const fs::path& d) { return openSqlite(d, SqliteMode::RollbackFull); });
            one("sqlite WAL NORMAL",
                [](const fs::path& d) { return openSqlite(d, SqliteMode::WalNormal); });
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        fs::remove_all(work);
        return 1;
    }
    fs::remove_all(work);
    return 0;
}
