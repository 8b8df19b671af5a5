// The controls of the main window, at their design places.
#include "app/mein_form.h"
#include "platform/help_contexts.h"

#include "platform/help_keys.h"
#include "version/fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace telvara {

namespace {

constexpr int kEditHeight = 20;
constexpr int kLabelHeight = 12;

const QString kNameHint = QStringLiteral("文字に半角のスペース、カンマは含めないでください。");
const QString kZeroHint = QStringLiteral("ｸﾞﾗﾌ表示しないときは、０のまま。");

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit* addEdit(QWidget* parent, const char* name, const QString& text, const QString& hint,
                   int x, int y, int width) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setToolTip(hint);
    edit->setGeometry(x, y, width, kEditHeight);
    return edit;
}

// A current label runs up to `room` pixels, the space before the next
// column's caption (see showCurrent).
QLabel* addCurrentLabel(QWidget* parent, const char* name, int x, int y, int room) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    QPalette blue = label->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(blue);
    label->setGeometry(x, y, 0, kLabelHeight + 2);
    label->setProperty(kCurrentRoomProperty, room);
    return label;
}

} // namespace

void TMeinForm::buildControls() {
    setObjectName(QStringLiteral("MeinForm"));
    setWindowTitle(kMeinFormTitle);
    QFont font(kGothicP);
    font.setPixelSize(12);
    setFont(font);
    setHelpContext(this, kMainHelpContext);
    setFixedSize(kMeinFormWidth, kMeinFormHeight);
    centreOnDesktop();

    createDataGroup();
    createTimeColumns();
    createHelpButton();
    createChartOptions();
    createChartButton();
    createVersionLabels();
    createStoreControls();
    // The store buttons "Add" and "ﾚｺｰﾄﾞ削除" follow Edit8 in the chain.
    QList<QWidget*> chain = {kaisya, Edit1, Edit9, Edit10, Debaisu};
    for (QLineEdit* edit : TimeEdits)
        chain << edit;
    chain << CmdAdd << CmdRemove << Button3 << Button1 << ColorButton << RadioItem0 << RadioItem1
          << TimeCheck << Button2;
    setTabChain(chain);
    createCurveControls();
}

void TMeinForm::createDataGroup() {
    GroupBox2 = new QGroupBox(QStringLiteral("保護協調 DATA"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 8, 609, 201);
    QWidget* box = GroupBox2;

    addLabel(box, QStringLiteral("会社名"), 56, 32);
    kaisya = addEdit(box, "kaisya", QString(), kNameHint, 104, 29, 321);

    addLabel(box, QStringLiteral("CT比"), 32, 72);
    addLabel(box, QStringLiteral("タップ"), 192, 72);
    addLabel(box, QStringLiteral("INSTタップ"), 240, 72);
    addLabel(box, QStringLiteral("デバイ No."), 320, 72);
    Edit1 = addEdit(box, "Edit1", QStringLiteral("0"),
                    QStringLiteral("CT１次電流値を入力してください。"), 32, 88, 73);
    Edit9 = addEdit(box, "Edit9", QStringLiteral("0"), QStringLiteral("整定値"), 192, 88, 33);
    Edit10 = addEdit(box, "Edit10", QStringLiteral("0"), kZeroHint, 240, 88, 41);
    Debaisu = addEdit(box, "Debaisu", QStringLiteral("51R"), kNameHint, 320, 88, 121);
}

// Seven columns in the data group: a caption, the time field below it and
// the column's current beside the caption.
void TMeinForm::createTimeColumns() {
    struct TimeColumn {
        const char* caption;
        const char* edit;
        const char* label;
        int x;
    };
    static constexpr std::array<TimeColumn, kTimeFieldCount> columns = {{
        {"150%", "Edit2", "Label9", 16},
        {"200%", "Edit3", "Label10", 96},
        {"300%", "Edit4", "Label11", 176},
        {"400%", "Edit5", "Label12", 264},
        {"500%", "Edit6", "Label13", 352},
        {"700%", "Edit7", "Label14", 440},
        {"INST", "Edit8", "Label15", 528},
    }};
    constexpr int kCurrentGap = 4;
    QWidget* box = GroupBox2;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const TimeColumn& column = columns[i];
        addLabel(box, QLatin1String(column.caption), column.x, 136);
        TimeEdits[i] = addEdit(box, column.edit, QStringLiteral("0"), kZeroHint, column.x, 149, 65);
        // Up to the next caption, or the group box's frame after INST.
        const int end = i + 1 < columns.size() ? columns[i + 1].x : box->width() - 2;
        CurrentLabels[i] = addCurrentLabel(box, column.label, column.x + 32, 136,
                                           end - kCurrentGap - (column.x + 32));
    }
}

void TMeinForm::createHelpButton() {
    Button2 = new QPushButton(QStringLiteral("?"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(714, 15, 33, 25);
    QFont bold = Button2->font();
    bold.setBold(true);
    Button2->setFont(bold);
    Button2->setToolTip(QStringLiteral("簡単な使用方法"));
}

// How the chart draws the next relay: its colour and the time axis.
void TMeinForm::createChartOptions() {
    ColorButton = new QPushButton(QStringLiteral("色選択"), this);
    ColorButton->setObjectName(QStringLiteral("ColorButton"));
    ColorButton->setGeometry(638, 14, 65, 25);

    RadioGroup1 = new QGroupBox(QStringLiteral("色の選択"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setGeometry(632, 44, 121, 57);
    RadioItem0 = new QRadioButton(QStringLiteral("指定色を交える"), RadioGroup1);
    RadioItem0->setObjectName(QStringLiteral("RadioItem0"));
    RadioItem0->setGeometry(8, 18, 109, 17);
    RadioItem1 = new QRadioButton(QStringLiteral("ランダム付ける"), RadioGroup1);
    RadioItem1->setObjectName(QStringLiteral("RadioItem1"));
    RadioItem1->setGeometry(8, 36, 109, 17);
    RadioButtons = new QButtonGroup(this);
    RadioButtons->setObjectName(QStringLiteral("RadioButtons"));
    RadioButtons->addButton(RadioItem0, 0);
    RadioButtons->addButton(RadioItem1, 1);

    TimeCheck = new QCheckBox(QStringLiteral("時間10or1000"), this);
    TimeCheck->setObjectName(QStringLiteral("TimeCheck"));
    TimeCheck->setGeometry(639, 107, 105, 17);
    TimeCheck->setToolTip(QStringLiteral("時間軸切り替え"));
}

void TMeinForm::createChartButton() {
    Button1 = new QPushButton(QStringLiteral("グラフ表示"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(648, 128, 81, 41);
    setHelpContext(Button1, kChartButtonHelpContext);
}

void TMeinForm::createVersionLabels() {
    ProducerLbl = addLabel(this, QStringLiteral("Produced by Telvara"), 624, 175);
    ProducerLbl->setObjectName(QStringLiteral("ProducerLbl"));
    VersionLbl = addLabel(this, QStringLiteral("Version "), 632, 191);
    VersionLbl->setObjectName(QStringLiteral("VersionLbl"));
    VersionNoLbl = addLabel(this, QStringLiteral("VersionNo"), 680, 191);
    VersionNoLbl->setObjectName(QStringLiteral("VersionNoLbl"));
}

void TMeinForm::setTabChain(const QList<QWidget*>& chain) {
    tabChain_ = chain;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

} // namespace telvara
