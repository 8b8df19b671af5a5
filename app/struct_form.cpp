#include "app/struct_form.h"
#include "platform/help_contexts.h"

#include "app/key_list_model.h"
#include "app/list_line.h"
#include "app/mein_form.h"
#include "base/cp932.h"
#include "chartwin/chat_form.h"
#include "platform/guard.h"
#include "platform/help_keys.h"
#include "relay/record_check.h"
#include "store/find_relay.h"
#include "store/stored_relays.h"
#include "version/fonts.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QTimer>

#include <exception>
#include <optional>

namespace telvara {

namespace {

constexpr int kItemHeight = 12;
constexpr int kMargin = 8;
// The filter row above the list.
constexpr int kFilterTop = 4;
constexpr int kFilterHeight = 21;
constexpr int kFilterLeft = 64;

// Rows of the list are 12 pixels high.
class FixedRowHeight : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(kItemHeight);
        return size;
    }
};

QFont minchoFont(int pixels) {
    QFont font(kMincho);
    font.setPixelSize(pixels);
    return font;
}

// Runs body, then after, also when body fails; the failure goes on afterwards.
template <class Body, class After> void thenAlways(Body body, After after) {
    try {
        body();
    } catch (...) {
        after();
        throw;
    }
    after();
}

} // namespace

TStructForm::TStructForm(TMeinForm& main) : QDialog(&main), main_(main) {
    setObjectName(QStringLiteral("StructForm"));
    setWindowTitle(QStringLiteral("インプットデーター一覧"));
    setFont(minchoFont(13));

    StructScrollBox = new QScrollArea(this);
    StructScrollBox->setObjectName(QStringLiteral("StructScrollBox"));
    StructScrollBox->setGeometry(0, 0, 329, 303);
    StructScrollBox->setFont(minchoFont(12));
    StructScrollBox->setWidgetResizable(true);

    FilterLbl = new QLabel(QStringLiteral("絞り込み"), this);
    FilterLbl->setObjectName(QStringLiteral("FilterLbl"));
    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterEdit->setToolTip(
        QStringLiteral("会社名かﾃﾞﾊﾞｲｽNo. の一部を入力すると、それを含む行だけを表示します。"));
    FilterEdit->setClearButtonEnabled(true);
    FilterLbl->setBuddy(FilterEdit);
    setHelpContext(FilterEdit, kListHelpContext);

    Keys = new TKeyListModel(this);
    ListBox1 = new QListView;
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setModel(Keys);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setItemDelegate(new FixedRowHeight(ListBox1));
    // Rows of one height are laid out without asking each row: a list of
    // 100 000 keys opens at once.
    ListBox1->setUniformItemSizes(true);
    setHelpContext(ListBox1, kListHelpContext);
    StructScrollBox->setWidget(ListBox1);

    CmdOk = new QPushButton(QStringLiteral("Ok"), this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdOk->resize(75, 25);
    CmdOk->setDefault(true);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Find1 = PopupMenu1->addAction(QStringLiteral("選択データ表示"));
    Find1->setObjectName(QStringLiteral("Find1"));
    AllDataView = PopupMenu1->addAction(QStringLiteral("全データ表示"));
    AllDataView->setObjectName(QStringLiteral("AllDataView"));
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(at)); });

    MessageService& messages = main_.services().messages;
    connect(CmdOk, &QPushButton::clicked, this, guarded(messages, [this](bool) { CmdOkClick(); }));
    connect(Find1, &QAction::triggered, this, guarded(messages, [this](bool) { Find1Click(); }));
    connect(AllDataView, &QAction::triggered, this,
            guarded(messages, [this](bool) { AllDataViewClick(); }));
    connect(FilterEdit, &QLineEdit::textChanged, this,
            guarded(messages, [this](const QString&) { FilterEditChange(); }));
    addCsvCommands();
    // Typing narrows the list at once; Tab goes on to the list, then Ok.
    setTabOrder(FilterEdit, ListBox1);
    setTabOrder(ListBox1, CmdOk);
    FilterEdit->setFocus();
    installHelpKey(this, messages, main_.services().help);
    resize(kStructFormWidth, kStructFormHeight);
    move(kStructFormLeft, kStructFormTop);
    FormResize();
}

TStructForm::~TStructForm() = default;

void TStructForm::setListing(std::string_view listing) {
    Keys->setListing(listing);
}

void TStructForm::listStore(TBPlusTree& store) {
    setListing(store.Height() == 0 ? std::string("< Empty >") : store.ListAllKeys());
}

// --- layout -----------------------------------------------------------------

void TStructForm::FormResize() {
    CmdOk->move((width() - CmdOk->width()) / 2, height() - CmdOk->height() - kMargin);
    FilterLbl->adjustSize();
    FilterLbl->move(kMargin, kFilterTop + (kFilterHeight - FilterLbl->height()) / 2);
    FilterEdit->setGeometry(kFilterLeft, kFilterTop, width() - kFilterLeft - kMargin,
                            kFilterHeight);
    const int listTop = kFilterTop + kFilterHeight + kFilterTop;
    StructScrollBox->setGeometry(0, listTop, width(), CmdOk->y() - kMargin - listTop);
}

void TStructForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    runGuarded(main_.services().messages, [this] { FormResize(); });
}

void TStructForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!sizeFitted_) {
        sizeFitted_ = true;
        // The frame is known once the window manager has framed the window.
        QTimer::singleShot(0, this, [this] { fitOuterSize(); });
    }
}

void TStructForm::fitOuterSize() {
    const QSize frame = frameGeometry().size() - size();
    const QSize client(kStructFormWidth - frame.width(), kStructFormHeight - frame.height());
    if (client != size())
        resize(client);
}

void TStructForm::keyPressEvent(QKeyEvent* event) {
    // "Ok" is both the default and the cancel button.
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
                  event->key() == Qt::Key_Enter)) {
        CmdOk->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

// --- loading lines ----------------------------------------------------------

std::vector<std::string> TStructForm::lineItems(int row) const {
    return readListLine(Keys->lineBytes(row));
}

int TStructForm::selectedRow() const {
    const QModelIndex current = ListBox1->currentIndex();
    if (!current.isValid() || !ListBox1->selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

void TStructForm::FilterEditChange() {
    const int selected = selectedRow();
    const int line = selected >= 0 ? Keys->lineOf(selected) : -1;
    Keys->setFilter(FilterEdit->text());
    // The selected line stays selected while it is shown; type, then Enter:
    // the one line left is the one meant.
    int row = line >= 0 ? Keys->rowOf(line) : -1;
    if (row < 0 && Keys->rowCount() == 1 && Keys->lineCount() > 1)
        row = 0;
    if (row >= 0)
        ListBox1->setCurrentIndex(Keys->index(row));
}

bool TStructForm::load(const std::vector<std::string>& items) {
    const auto item = [&items](std::size_t i) {
        return i < items.size() ? cp932ToUtf8(items[i]) : std::string();
    };
    return main_.loadRecord(item(0), item(1));
}

// A line that names no record (an empty line, "[etc.]") takes the main
// window's search like any other and is reported there as not found.
void TStructForm::loadSelected() {
    if (const int row = selectedRow(); row >= 0)
        load(lineItems(row));
}

void TStructForm::finish() {
    done(QDialog::Accepted);
}

void TStructForm::showChart() {
    if (TChatForm* chart = main_.chartWindow())
        chart->showFromMain();
}

// --- commands ---------------------------------------------------------------

void TStructForm::CmdOkClick() {
    thenAlways([this] { loadSelected(); }, [this] { finish(); });
}

void TStructForm::Find1Click() {
    thenAlways([this] { loadSelected(); },
               [this] {
                   finish();
                   showChart();
               });
}

void TStructForm::AllDataViewClick() {
    std::vector<RelaySettings> relays;
    std::vector<std::string> lastDrawn;
    std::string skipped;
    const auto collect = [&] {
        TBPlusTree& store = main_.store();
        for (int row = 0; row < Keys->rowCount(); ++row) {
            const std::vector<std::string> items = lineItems(row);
            // The empty line and "[etc.]" after a cut listing name no record.
            if (items.size() < 2)
                continue;
            // A record that is not found draws no curve: the main window
            // reports it and clears its fields.
            const std::optional<TRelayRecord> record = listedRelayRecord(store, items[0], items[1]);
            if (!record) {
                load(items);
                continue;
            }
            RelaySettings relay = storedRelay(*record);
            if (const std::string why = undrawableText(relay); !why.empty()) {
                skipped += "\n" + why;
                continue;
            }
            relays.push_back(std::move(relay));
            lastDrawn = items;
        }
    };
    // The relays read before a failure are drawn all the same.
    const auto draw = [&] {
        if (relays.empty())
            return;
        RelayCurrents currents = main_.currents();
        if (TChatForm* chart = main_.chartWindow())
            chart->drawRelays(relays, currents);
        // Showing the chart draws the main window's entries into the last
        // curve: they must be that curve's relay, with the currents it was
        // drawn with.
        main_.carryCurrents(currents);
        load(lastDrawn);
    };
    thenAlways([&] { thenAlways(collect, draw); },
               [&] {
                   finish();
                   showChart();
               });
    if (!skipped.empty())
        main_.services().messages.showMessage(
            QString::fromStdString("次のレコードは描けないので飛ばしました：" + skipped));
}

} // namespace telvara
