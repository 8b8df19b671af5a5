// struct_form_bench: the input data list window on stores of 1 000, 10 000 and
// 100 000 relays: opening it (the key listing, the list model, the first
// paint), the first filter keystroke (which decodes every key once) and a
// later one. For comparison, a QListWidget filled with the same lines.
//
//   QT_QPA_PLATFORM=offscreen struct_form_bench [WORKDIR]
#include "app/mein_form.h"
#include "app/struct_form.h"
#include "base/cp932.h"
#include "bench_timing.h"
#include "platform/services_scripted.h"
#include "store/bplustree.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace telvara;

namespace {

void fillStore(const fs::path& dir, int n) {
    TBPlusTree store;
    store.OpenStore(dir.string());
    std::mt19937 rng{unsigned(n)};
    store.BeginTransaction();
    for (int i = 0; i < n; ++i) {
        TRelayRecord& r = store.CurrentRecord();
        r = TRelayRecord{};
        r.setField(TRecordField::KaisyaName,
                   utf8ToCp932("第" + std::to_string(rng() % 1000u) + "変電所"));
        r.setField(TRecordField::DebaisuNo, "51R-" + std::to_string(i));
        for (int f = 2; f < kRecordFieldCount; ++f)
            r.setField(TRecordField(f), "1");
        store.InsertCurrent();
    }
    store.Commit();
}

void settle(QWidget& window) {
    (void)QTest::qWaitForWindowExposed(&window);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const fs::path work =
        argc > 1 ? fs::path(argv[1])
                 : fs::temp_directory_path() / ("struct_form_bench-" + std::to_string(::getpid()));
    std::printf("%9s %10s %14s %14s %16s\n", "relays", "open ms", "1st filter ms", "2nd filter ms",
                "QListWidget ms");
    for (const int n : {1000, 10000, 100000}) {
        const fs::path dir = work / std::to_string(n);
        fs::create_directories(dir);
        fillStore(dir, n);
        ScriptedServices scripted;
        scripted.directories.answers = {QString::fromStdString(dir.string())};
        TMeinForm main(scripted.services());
        // As "一覧" opens it: built, every key listed, shown and painted.
        const double open = bestMs(3, [&] {
            TStructForm list(main);
            list.listStore(main.store());
            list.show();
            settle(list);
        });
        TStructForm list(main);
        list.listStore(main.store());
        list.show();
        settle(list);
        auto* filter = list.findChild<QLineEdit*>(QStringLiteral("FilterEdit"));
        const double first = bestMs(1, [&] {
            filter->setText(QStringLiteral("第1"));
            QCoreApplication::processEvents();
        });
        const double second = bestMs(1, [&] {
            filter->setText(QStringLiteral("第12"));
            QCoreApplication::processEvents();
        });
        // The same lines as one widget item each.
        const std::string listing = main.store().ListAllKeys();
        const double widgets = bestMs(1, [&] {
            QListWidget plain;
            std::size_t p = 0;
            while (p < listing.size()) {
                const std::size_t end = listing.find("\r\n", p);
                plain.addItem(QString::fromStdString(cp932ToUtf8(listing.substr(p, end - p))));
                p = end + 2;
            }
            plain.show();
            settle(plain);
        });
        std::printf("%9d %10.1f %14.1f %14.1f %16.1f\n", n, open, first, second, widgets);
    }
    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
