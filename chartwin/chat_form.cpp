#include "chartwin/chat_form.h"
#include "platform/help_contexts.h"

#include "chartwin/check_dialog.h"
#include "chartwin/study_chart.h"
#include "chartwin/study_panel.h"
#include "chartwin/tool_icons.h"
#include "platform/chart_widget.h"
#include "platform/guard.h"
#include "platform/help_keys.h"
#include "platform/print_preview.h"
#include "platform/qt_printer.h"
#include "relay/relay.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace telvara {

namespace {

template <class W> W* place(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int x, int w) {
    auto* b = place<QPushButton>(parent, name, x, 8, w, 25);
    b->setText(caption);
    return b;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption, int x, int y,
                    int w) {
    auto* c = place<QCheckBox>(parent, name, x, y, w, 17);
    c->setText(caption);
    return c;
}

QLineEdit* field(QWidget* parent, const char* name, const QString& text, int x, int y, int w,
                 int h) {
    auto* e = place<QLineEdit>(parent, name, x, y, w, h);
    e->setText(text);
    return e;
}

QToolButton* imageButton(QWidget* parent, const char* name, const QIcon& icon, int x) {
    auto* b = place<QToolButton>(parent, name, x, 8, 25, 25);
    b->setIcon(icon);
    b->setAutoRaise(true);
    return b;
}

} // namespace

TChatForm::TChatForm(MainWindowLink& main, Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window), main_(main), services_(services),
      defaultPrinter_(std::make_unique<TQtPrinter>()), printer_(defaultPrinter_.get()),
      preview_(defaultPrintPreview()) {
    setObjectName(QStringLiteral("ChatForm"));
    setWindowTitle(QStringLiteral("グラフ画面"));
    resize(800, 600);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    layout->addWidget(Panel1);
    chartWidget_ = new TChartWidget(this);
    chartWidget_->setObjectName(QStringLiteral("Chart1"));
    chartWidget_->SetMessageService(&services_.messages);
    chart_ = std::make_unique<TCoordinationChart>(chartWidget_->Chart());
    renderer_ = std::make_unique<TChartRenderer>(chartWidget_->Chart(), chartPrintOptions());
    layout->addWidget(buildStudyPanel(), 1);
    // Below the check's lines and marks, which go first when the window closes.
    overlay_ = std::make_unique<TStudyOverlay>(chartWidget_->Chart());
    overlay_->SetStudy(&study_);
    check_ = new TCheckTools(*chart_, *chartWidget_, services_, this);
    static_cast<QHBoxLayout*>(Panel1->layout())->insertWidget(1, check_->toolBarWidget());
    check_->setStudySource(
        {[this] { return &study_; },
         [this](std::vector<TStudyCheckLine> lines) { overlay_->SetCheck(std::move(lines)); }});

    bindHandlers();
    installHelpKey(this, services_.messages, services_.help);
    qApp->installEventFilter(this);
}

TChatForm::~TChatForm() {
    // The check draws on the chart: it goes before the chart widget does.
    delete check_;
    overlay_.reset();
    qApp->removeEventFilter(this);
    chart_->Chart().OnAfterDraw = nullptr;
}

void TChatForm::buildToolBar() {
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(kToolBarHeight);
    auto* bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(0, 0, 8, 0);
    auto* left = new QWidget(Panel1);
    left->setFixedSize(800, kToolBarHeight);
    bar->addWidget(left);
    bar->addStretch(1);

    Button3 = button(left, "Button3", QStringLiteral("印刷"), 8, 57);
    Button3->setToolTip(QStringLiteral("用紙サイズは、Ａ４をセットしてで印刷して下さい。 "));
    Button1 = button(left, "Button1", QStringLiteral("ｸﾞﾗﾌの追加"), 72, 81);
    Button1->setToolTip(QStringLiteral("ﾃﾞｰﾀｰ入力画面に移り新たなｸﾞﾗﾌを追加する"));
    setHelpContext(Button1, kChartCurvesHelpContext);
    CheckBox1 = checkBox(left, "CheckBox1", QStringLiteral("値表示"), 160, 3, 81);
    CheckBox2 = checkBox(left, "CheckBox2", QStringLiteral("３Ｄ表示"), 160, 21, 81);
    Button2 = button(left, "Button2", QStringLiteral("ｸﾞﾗﾌの削除"), 244, 81);
    Button2->setToolTip(QStringLiteral("最終のｸﾞﾗﾌからクリックするごとに１個ずつ削除します"));
    setHelpContext(Button2, kChartCurvesHelpContext);
    Button2->hide();
    Button4 = button(left, "Button4", QStringLiteral("BMP保存"), 332, 65);
    Button4->setToolTip(
        QStringLiteral("任意のフォルダーに、現在のグラフをビットマップ形式で、保存できます。"));
    CheckBox3 = checkBox(left, "CheckBox3", QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ表示"), 404, 3, 113);
    CheckBox3->setChecked(true);
    CheckBox5 = checkBox(left, "CheckBox5", QStringLiteral("電流軸最小値"), 404, 21, 113);
    CheckBox5->setToolTip(QStringLiteral("電流軸の最小値を１０Aから１Aに変更"));
    CheckBox4 = checkBox(left, "CheckBox4", QStringLiteral("入力"), 524, 12, 49);
    SpeedButton2 = imageButton(left, "SpeedButton2", wasteBinIcon(), 576);
    Edit3 = field(left, "Edit3", QStringLiteral("ﾃﾞﾊﾞｲｽNo."), 604, 10, 81, 21);
    Edit1 = field(left, "Edit1", QStringLiteral("電流値"), 688, 1, 73, 19);
    Edit2 = field(left, "Edit2", QStringLiteral("時間"), 688, 21, 73, 19);
    SpeedButton1 = imageButton(left, "SpeedButton1", lineChartIcon(), 764);
    setManualInputVisible(false);

    auto* right = new QWidget(Panel1);
    auto* lines = new QVBoxLayout(right);
    lines->setContentsMargins(0, 2, 0, 2);
    lines->setSpacing(0);
    Label1 = new QLabel(QStringLiteral("Telvara 保護協調曲線"), right);
    Label1->setObjectName(QStringLiteral("Label1"));
    lines->addWidget(Label1, 0, Qt::AlignRight);
    auto* version = new QHBoxLayout;
    version->setSpacing(6);
    Label3 = new QLabel(QStringLiteral("Version"), right);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label2 = new QLabel(QStringLiteral("Version 3.0"), right);
    Label2->setObjectName(QStringLiteral("Label2"));
    version->addStretch(1);
    version->addWidget(Label3);
    version->addWidget(Label2);
    lines->addLayout(version);
    buildFileMenu(bar);
    addPreviewButton(bar);
    bar->addWidget(right);
}

void TChatForm::bindHandlers() {
    // Each handler runs behind the guard; the signals' arguments are not used.
    auto handler = [this](void (TChatForm::*f)()) {
        return [this, f] { runGuarded(services_.messages, [this, f] { (this->*f)(); }); };
    };
    connect(Button1, &QPushButton::clicked, this, handler(&TChatForm::Button1Click));
    connect(Button2, &QPushButton::clicked, this, handler(&TChatForm::Button2Click));
    connect(Button3, &QPushButton::clicked, this, handler(&TChatForm::Button3Click));
    connect(Button4, &QPushButton::clicked, this, handler(&TChatForm::Button4Click));
    connect(Button5, &QPushButton::clicked, this, handler(&TChatForm::Button5Click));
    // A check box reports every change of its state, also one made by the program.
    connect(CheckBox1, &QCheckBox::toggled, this, handler(&TChatForm::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::toggled, this, handler(&TChatForm::CheckBox2Click));
    connect(CheckBox3, &QCheckBox::toggled, this, handler(&TChatForm::CheckBox3Click));
    connect(CheckBox4, &QCheckBox::toggled, this, handler(&TChatForm::CheckBox4Click));
    connect(CheckBox5, &QCheckBox::toggled, this, handler(&TChatForm::CheckBox5Click));
    connect(SpeedButton1, &QToolButton::clicked, this, handler(&TChatForm::SpeedButton1Click));
    connect(SpeedButton2, &QToolButton::clicked, this, handler(&TChatForm::SpeedButton2Click));
    chart_->Chart().OnAfterDraw = [this](TCustomChartPanel&) {
        runGuarded(services_.messages, [this] { Chart1AfterDraw(); });
    };
}

void TChatForm::setManualInputVisible(bool visible) {
    for (QWidget* w :
         {static_cast<QWidget*>(SpeedButton1), static_cast<QWidget*>(SpeedButton2),
          static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Edit3)})
        w->setVisible(visible);
}

// ---- activation ------------------------------------------------------------

QWidget* TChatForm::mainWindow() const {
    return dynamic_cast<QWidget*>(&main_);
}

void TChatForm::showFromMain() {
    if (isVisible() && isActiveWindow() && !isMinimized()) {
        // Already active: no activation will be reported, so draw now.
        runGuarded(services_.messages, [this] { FormActivate(); });
        return;
    }
    activationRequested_ = true;
    if (!isVisible() || isMinimized())
        showMaximized();
    raise();
    activateWindow();
}

bool TChatForm::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        windowActivated();
    return QWidget::event(e);
}

// Remembers which window of the program was active last, so that an
// activation can tell the main window from a closing box or another program.
bool TChatForm::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::WindowActivate && watched != this && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow())
            previousActive_ = w;
    } else if (e->type() == QEvent::ApplicationStateChange && watched == qApp) {
        if (QGuiApplication::applicationState() != Qt::ApplicationActive)
            previousActive_ = nullptr;
    }
    return QWidget::eventFilter(watched, e);
}

void TChatForm::windowActivated() {
    // The store may have changed meanwhile: the panel's marks follow it.
    if (panel_)
        runGuarded(services_.messages, [this] { panel_->refresh(); });
    const bool fromMain = previousActive_ && previousActive_ == mainWindow();
    const bool requested = activationRequested_;
    activationRequested_ = false;
    previousActive_ = this;
    if (requested || fromMain)
        runGuarded(services_.messages, [this] { FormActivate(); });
}

void TChatForm::FormActivate() {
    Label2->setText(QString::fromStdString(main_.versionCaption()));
    const RelaySettings shown = mainRelay();
    // The relay's own curve, or a new one for a relay not yet drawn.
    TChartSeries& current = *Chart1().SeriesAt(chart_->CurveFor(shown.company, shown.device));
    colourCurve(current);
    chart_->DrawEntries({shown.times, shown.device, main_.timeCheckChecked(), shown.company},
                        main_.currents());
    putShownRelay(shown, current);
    relayActivated();
}

RelaySettings TChatForm::mainRelay() const {
    RelaySettings shown;
    for (std::size_t i = 0; i < kTimeFieldCount; ++i)
        shown.times[i] = main_.timeText(int(i));
    shown.device = main_.deviceText();
    shown.company = main_.companyText();
    shown.ct = main_.ctText();
    shown.tap = main_.tapText();
    shown.instTap = main_.instTapText();
    return shown;
}

void TChatForm::colourCurve(TChartSeries& curve) {
    switch (main_.colorRadioIndex()) {
    case 0:
        curve.SetSeriesColor(main_.dialogColor());
        break;
    case 1:
        curve.SetSeriesColor(main_.ColorSelect());
        break;
    default:
        break; // the colour the chart gave the series stays
    }
}

void TChatForm::relayActivated() {
    // The activation put the current axis back to 10 A: the switch says so.
    const QSignalBlocker quiet(CheckBox5);
    CheckBox5->setChecked(false);
    ++activations_;
}

// ---- curves ----------------------------------------------------------------

std::vector<std::string> TChatForm::drawRelays(const std::vector<RelaySettings>& relays,
                                               RelayCurrents& currents) {
    bool anyDrawn = false;
    const std::vector<std::string> skipped =
        drawAllRelays(*chart_, relays, main_.timeCheckChecked(), currents,
                      [this, &anyDrawn](const RelaySettings& relay, TChartSeries& curve) {
                          Label2->setText(QString::fromStdString(main_.versionCaption()));
                          colourCurve(curve);
                          putShownRelay(relay, curve);
                          relayActivated();
                          anyDrawn = true;
                      });
    // Each relay was closed into a new curve, as closing the window does.
    if (anyDrawn)
        CheckBox4->setChecked(false);
    return skipped;
}

void TChatForm::startNewCurve() {
    StartNewCurve();
}

void TChatForm::removeCurrentCurve() {
    Button2Click();
}

void TChatForm::StartNewCurve() {
    chart_->StartNewCurve();
    CheckBox4->setChecked(false);
}

void TChatForm::closeEvent(QCloseEvent* e) {
    e->accept();
    runGuarded(services_.messages, [this] { FormClose(); });
}

void TChatForm::FormClose() {
    StartNewCurve();
}

void TChatForm::Button1Click() {
    close();
    // The main window takes the next relay's entries.
    if (QWidget* main = mainWindow())
        main->activateWindow();
}

void TChatForm::Button2Click() {
    // A relay's curve goes with its device in the study.
    const TChartSeries* s = chart_->CurrentSeries();
    const CurveOrigin origin = chart_->Origin(chart_->SeriesCounter());
    if (s && origin.equipment)
        return removeStudyDevice(origin.device);
    if (s && s->Count() > 0 && !origin.manual)
        removeStudyRelay(origin.company, origin.device);
    chart_->RemoveCurrentCurve();
}

void TChatForm::Chart1AfterDraw() {
    const bool any = chart_->SeriesCounter() >= 0;
    Button2->setVisible(any);
    Button3->setVisible(any);
    Button5->setVisible(any);
}

} // namespace telvara
