#include "platform/chart_widget.h"

#include "platform/guard.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QWheelEvent>

namespace telvara {

namespace {

// The chart knows the left, right and middle buttons; the back, forward and
// other extra buttons start and end nothing on it.
bool chartButton(Qt::MouseButton b, TMouseButton& out) {
    switch (b) {
    case Qt::LeftButton:
        out = mbLeft;
        return true;
    case Qt::RightButton:
        out = mbRight;
        return true;
    case Qt::MiddleButton:
        out = mbMiddle;
        return true;
    default:
        return false;
    }
}

int toShift(Qt::KeyboardModifiers m, Qt::MouseButtons b) {
    int s = 0;
    if (m & Qt::ShiftModifier)
        s |= ssShift;
    if (m & Qt::AltModifier)
        s |= ssAlt;
    if (m & Qt::ControlModifier)
        s |= ssCtrl;
    if (b & Qt::LeftButton)
        s |= ssLeft;
    if (b & Qt::RightButton)
        s |= ssRight;
    if (b & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

Qt::CursorShape toShape(TCursor c) {
    switch (c) {
    case crCross:
        return Qt::CrossCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

TChartWidget::TChartWidget(QWidget* parent) : QWidget(parent), chart_(std::make_unique<TChart>()) {
    // Every paint covers every pixel: no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    chart_->SetHost(this);
    chart_->SetBounds(width(), height());
}

TChartWidget::~TChartWidget() {
    EndDirectDraw();
    chart_->SetHost(nullptr);
}

template <class Fn> void TChartWidget::Guard(Fn fn) {
    if (messages_) {
        runGuarded(*messages_, fn);
        return;
    }
    try {
        fn();
    } catch (...) {
        // No exception passes through Qt.
    }
}

void TChartWidget::InvalidateChart() {
    update();
}

void TChartWidget::RepaintChartNow() {
    repaint();
}

void TChartWidget::SetChartCursor(TCursor c) {
    setCursor(toShape(c));
}

void TChartWidget::ReleaseBuffer() {
    EndDirectDraw();
    buffer_ = QImage();
}

// Marks that follow the mouse go onto the kept picture, which the next
// paint request copies to the window.
TCanvas3D* TChartWidget::BeginDirectDraw() {
    if (buffer_.isNull() || directPainter_)
        return nullptr;
    directPainter_ = std::make_unique<QPainter>(&buffer_);
    directCanvas_ = std::make_unique<QtCanvas3D>(directPainter_.get());
    return directCanvas_.get();
}

void TChartWidget::EndDirectDraw() {
    if (!directPainter_)
        return;
    directCanvas_.reset();
    directPainter_->end();
    directPainter_.reset();
    update();
}

void TChartWidget::paintEvent(QPaintEvent*) {
    if (chart_->Printing() || directPainter_)
        return;
    QPainter painter(this);
    // After a move to a screen with another ratio the picture is drawn anew.
    const qreal ratio = devicePixelRatioF();
    const bool sameSize = buffer_.size() == keptImageSize(width(), height(), ratio) &&
                          buffer_.devicePixelRatio() == ratio;
    if (!chart_->Dirty() && sameSize) {
        painter.drawImage(0, 0, buffer_);
        return;
    }
    Guard([&] {
        QtCanvas3D canvas(&painter, &buffer_);
        canvas.SetKeepRatio(ratio);
        chart_->DrawChart(canvas, {0, 0, width(), height()});
    });
}

void TChartWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    chart_->SetBounds(width(), height());
}

void TChartWidget::mousePressEvent(QMouseEvent* e) {
    TMouseButton button = mbLeft;
    if (!chartButton(e->button(), button)) {
        QWidget::mousePressEvent(e);
        return;
    }
    const QPoint p = e->position().toPoint();
    Guard([&] { chart_->MouseDown(p.x(), p.y(), button, toShift(e->modifiers(), e->buttons())); });
}

void TChartWidget::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    Guard([&] { chart_->MouseMove(p.x(), p.y(), toShift(e->modifiers(), e->buttons())); });
}

void TChartWidget::mouseReleaseEvent(QMouseEvent* e) {
    TMouseButton button = mbLeft;
    if (!chartButton(e->button(), button)) {
        QWidget::mouseReleaseEvent(e);
        return;
    }
    const QPoint p = e->position().toPoint();
    Guard([&] { chart_->MouseUp(p.x(), p.y(), button); });
}

void TChartWidget::leaveEvent(QEvent* e) {
    QWidget::leaveEvent(e);
    Guard([&] { chart_->MouseLeave(); });
}

void TChartWidget::wheelEvent(QWheelEvent* e) {
    wheelRest_ += e->angleDelta().y();
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    if (notches != 0)
        Guard([&] { chart_->MouseWheel(notches); });
    e->accept();
}

} // namespace telvara
