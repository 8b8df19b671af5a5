// store_open_bench: what the damage checks cost. For stores of 1 000, 10 000
// and 100 000 records under random keys: opening (header, both free chains,
// the leftmost path), the whole-store check the first write of an open runs,
// and "telvara-store check" reading the files by its own descriptors.
//
//   store_open_bench [WORKDIR]
#include "bench_timing.h"
#include "store/bplustree.h"
#include "store/store_check.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace telvara;

int main(int argc, char** argv) {
    const fs::path work =
        argc > 1 ? fs::path(argv[1])
                 : fs::temp_directory_path() / ("store_open_bench-" + std::to_string(::getpid()));
    std::printf("%10s %10s %12s %14s %14s %12s\n", "records", "pages", "open ms", "first-write ms",
                "check ms", "write ms");
    for (const int n : {1000, 10000, 100000}) {
        const fs::path dir = work / std::to_string(n);
        fs::create_directories(dir);
        std::mt19937 rng{unsigned(n)};
        {
            TBPlusTree store;
            store.OpenStore(dir.string());
            for (int i = 0; i < n; ++i) {
                store.CurrentRecord() = TRelayRecord{};
                store.CurrentRecord().setField(TRecordField::KaisyaName,
                                               "N" + std::to_string(rng() % 100000000u));
                store.CurrentRecord().setField(TRecordField::DebaisuNo, std::to_string(i));
                store.InsertCurrent();
            }
        }
        TCheckReport report;
        const double open = bestMs(5, [&] {
            TBPlusTree store;
            store.OpenStore(dir.string());
        });
        const double verify = bestMs(5, [&] {
            TBPlusTree store;
            store.OpenStore(dir.string());
            report = store.Verify();
        });
        const double check = bestMs(5, [&] { report = checkStore(dir.string()); });
        // A write after the check: one insertion into the open store.
        TBPlusTree store;
        store.OpenStore(dir.string());
        store.Verify();
        const double write = bestMs(1, [&] {
            store.CurrentRecord().setField(TRecordField::KaisyaName, "ZZZ");
            store.InsertCurrent();
        });
        std::printf("%10d %10lld %12.2f %14.2f %14.2f %12.3f%s\n", n, (long long)report.Pages, open,
                    verify - open, check, write, report.sound() ? "" : "  UNSOUND");
    }
    fs::remove_all(work);
}
