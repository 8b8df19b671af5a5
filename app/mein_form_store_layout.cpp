// The store controls of the main window: "Add" and "ﾚｺｰﾄﾞ削除" in the data
// group box, "一覧" beside them, and the hidden search group through which
// the input data list loads a record.
#include "app/mein_form.h"
#include "platform/help_contexts.h"

#include "platform/guard.h"
#include "platform/help_keys.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace telvara {

namespace {

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption,
                       const QString& hint, const QRect& place, int helpContext) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setGeometry(place);
    setHelpContext(button, helpContext);
    return button;
}

} // namespace

void TMeinForm::createStoreControls() {
    CmdAdd =
        addButton(GroupBox2, "CmdAdd", QStringLiteral("Add"),
                  QStringLiteral("ﾃﾞｰﾀｰ入力後にAddボタンを押すと、データーベースに格納できます。"),
                  QRect(496, 24, 89, 25), kAddRemoveHelpContext);
    CmdRemove =
        addButton(GroupBox2, "CmdRemove", QStringLiteral("ﾚｺｰﾄﾞ削除"),
                  QStringLiteral("表示されているデーターをデーターベースから削除できます。"),
                  QRect(496, 64, 89, 25), kAddRemoveHelpContext);
    CmdRemove->setEnabled(false);
    // On the window, in the column of the two store buttons.
    Button3 = addButton(this, "Button3", QStringLiteral("一覧"),
                        QStringLiteral("会社名、ﾃﾞﾊﾞｲｽNo．の一覧表示"), QRect(504, 112, 89, 25),
                        kListHelpContext);

    GroupBox1 = new QGroupBox(QStringLiteral("検索"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 425, 73);
    auto* nameLabel = new QLabel(QStringLiteral("会社名"), GroupBox1);
    nameLabel->move(8, 16);
    SearchKaisyaName = new QLineEdit(GroupBox1);
    SearchKaisyaName->setObjectName(QStringLiteral("SearchKaisyaName"));
    SearchKaisyaName->setToolTip(QStringLiteral("会社名又は、フィーダー名"));
    SearchKaisyaName->setGeometry(8, 32, 201, 20);
    auto* deviceLabel = new QLabel(QStringLiteral("デバイ No."), GroupBox1);
    deviceLabel->move(216, 16);
    SearchDebisuNo = new QLineEdit(GroupBox1);
    SearchDebisuNo->setObjectName(QStringLiteral("SearchDebisuNo"));
    SearchDebisuNo->setGeometry(216, 32, 113, 20);
    CmdSearch = addButton(
        GroupBox1, "CmdSearch", QStringLiteral("検索"),
        QStringLiteral(
            "会社名 ﾃﾞﾊﾞｲｽNo．を入力し検索ボタンを押すと、保存されているデーターがでます。"),
        QRect(336, 29, 81, 25), kListHelpContext);
    GroupBox1->hide();

    MessageService& messages = services_.messages;
    connect(CmdAdd, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { CmdAddClick(); }));
    connect(CmdRemove, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { CmdRemoveClick(); }));
    connect(Button3, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { Button3Click(); }));
    // A write can find the store damaged: the title says so at once.
    for (QPushButton* writer : {CmdAdd, CmdRemove, Button3})
        connect(writer, &QPushButton::clicked, this, [this] { showStoreState(); });
    connect(CmdSearch, &QPushButton::clicked, this,
            guarded(messages, [this](bool) { CmdSearchClick(); }));
}

} // namespace telvara
