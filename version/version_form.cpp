#include "version/version_form.h"

#include "version/fonts.h"
#include "version/version_block.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWindow>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace telvara {

namespace {

const QString kProducerName = QStringLiteral("Telvara Project");

// A panel with a lowered outer and a raised inner bevel.
class BevelPanel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRect r = rect();
        qDrawShadePanel(&p, r, palette(), true, 1);
        qDrawShadePanel(&p, r.adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, int x, int y, int w,
                  int h) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    return l;
}

} // namespace

QPixmap programPicture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 100.0;
    // Log paper: two decades each way, lines at 1..9 times a power of ten.
    const QRectF plot(8 * s, 8 * s, 84 * s, 84 * s);
    auto at = [&](double decadesX, double decadesY) {
        return QPointF(plot.left() + plot.width() * decadesX / 2,
                       plot.bottom() - plot.height() * decadesY / 2);
    };
    for (int decade = 0; decade < 2; ++decade) {
        for (int k = 1; k <= 9; ++k) {
            const double d = decade + std::log10(k);
            p.setPen(QPen(QColor(k == 1 ? 150 : 210, k == 1 ? 170 : 220, 200), k == 1 ? 1.2 : 0.6));
            p.drawLine(at(d, 0), at(d, 2));
            p.drawLine(at(0, d), at(2, d));
        }
    }
    p.setPen(QPen(QColor(90, 90, 90), 1.5 * s));
    p.drawRect(plot);
    // An inverse-time relay curve with its instantaneous step.
    QPainterPath curve;
    for (int i = 0; i <= 40; ++i) {
        const double x = 0.1 + 1.2 * i / 40.0; // decades of current
        const double multiple = std::pow(10.0, x);
        const double t = 0.14 / (std::pow(multiple, 0.02) - 1); // IEC normal inverse, TMS 1
        const double y = std::log10(t) + 0.4;
        const QPointF pt = at(x, std::clamp(y, 0.0, 2.0));
        i == 0 ? curve.moveTo(pt) : curve.lineTo(pt);
    }
    curve.lineTo(at(1.3, 0.15));
    curve.lineTo(at(1.9, 0.15));
    p.setPen(QPen(QColor(0, 0, 200), 3 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve);
    return pm;
}

TVersionForm::TVersionForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("VersionForm"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFixedSize(298, 213);
    QFont formFont(kGothicP);
    formFont.setPixelSize(12);
    setFont(formFont);

    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 6, 281, 201);
    QFont panelFont = formFont;
    panelFont.setPixelSize(16);
    panelFont.setBold(true);
    panelFont.setItalic(true);
    Panel1->setFont(panelFont);

    ProgramIcon = makeLabel(Panel1, QStringLiteral("ProgramIcon"), {}, 8, 8, 100, 100);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(programPicture(100));
    Producer =
        makeLabel(Panel1, QStringLiteral("Producer"), QStringLiteral("Producer"), 116, 8, 157, 20);
    Label1 = makeLabel(Panel1, QStringLiteral("Label1"), kProducerName, 116, 28, 157, 20);
    FileNameLbl = makeLabel(Panel1, QStringLiteral("FileNameLbl"), QStringLiteral("FileName"), 116,
                            50, 157, 20);
    Version =
        makeLabel(Panel1, QStringLiteral("Version"), QStringLiteral("Version"), 116, 70, 157, 20);
    VerLbl = makeLabel(Panel1, QStringLiteral("VerLbl"), QStringLiteral("No"), 116, 90, 157, 20);
    Copyright = makeLabel(Panel1, QStringLiteral("Copyright"),
                          QStringLiteral("Copyright (C) ") + kProducerName, 8, 114, 265, 20);
    Comments =
        makeLabel(Panel1, QStringLiteral("Comments"), QStringLiteral("ｺﾒﾝﾄ"), 8, 134, 265, 30);
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont smallFont = formFont;
    smallFont.setPixelSize(11);
    smallFont.setBold(false); // not the panel's bold italic
    smallFont.setItalic(false);
    Label2 = makeLabel(Panel1, QStringLiteral("Label2"),
                       QStringLiteral("このプログラムの著作権は ") + kProducerName +
                           QStringLiteral(" に"),
                       8, 166, 265, 14);
    Label3 = makeLabel(Panel1, QStringLiteral("Label3"),
                       QStringLiteral("帰属します。無断で複製・配布することを禁じます。"), 8, 181,
                       265, 14);
    Label2->setFont(smallFont);
    Label3->setFont(smallFont);

    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &TVersionForm::focusWindowChanged);
    FormCreate();
}

void TVersionForm::FormCreate() {
    FillIdentity(GetModuleName());
}

void TVersionForm::FillIdentity(const std::string& modulePath) {
    if (modulePath.empty())
        return;
    const size_t slash = modulePath.find_last_of('/');
    const std::string fileName =
        slash == std::string::npos ? modulePath : modulePath.substr(slash + 1);
    FileNameLbl->setText(QString::fromStdString(fileName));
    VerLbl->setText(QString::fromStdString(GetFileVersion(modulePath)));
}

void TVersionForm::focusWindowChanged(QWindow* window) {
    // Only another window of the program counts; focus leaving to another
    // application reports no window.
    if (!window || released_ || !isVisible())
        return;
    if (window == windowHandle())
        return;
    FormDeactivate();
}

void TVersionForm::FormDeactivate() {
    if (released_)
        return;
    released_ = true;
    QWidget::setVisible(false);
    deleteLater();
}

void TVersionForm::setVisible(bool visible) {
    if (visible && released_)
        return;
    QWidget::setVisible(visible);
}

TVersionForm* ShowSplash() {
    auto* form = new TVersionForm;
    form->show();
    // Let the window system map it, then paint before start-up goes on.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    form->repaint();
    return form;
}

} // namespace telvara
