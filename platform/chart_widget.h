#pragma once
// The window that hosts one chart: paint requests, invalidation, immediate
// repaint, size changes, mouse and wheel input, the cursor the chart asks for.
#include "chart/chart.h"
#include "platform/qt_canvas.h"

#include <QImage>
#include <QWidget>

#include <memory>

namespace telvara {

class MessageService;

class TChartWidget : public QWidget, public TChartHost {
    Q_OBJECT
public:
    explicit TChartWidget(QWidget* parent = nullptr);
    ~TChartWidget() override;

    TChart& Chart() { return *chart_; }
    // Failures inside chart handlers are reported here (none: they are dropped).
    void SetMessageService(MessageService* messages) { messages_ = messages; }
    // The kept off-screen picture (null before the first paint), in device
    // pixels of the screen's ratio.
    const QImage& Buffer() const { return buffer_; }

    // TChartHost
    void InvalidateChart() override;
    void RepaintChartNow() override;
    void SetChartCursor(TCursor c) override;
    void ReleaseBuffer() override;
    TCanvas3D* BeginDirectDraw() override;
    void EndDirectDraw() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    template <class Fn> void Guard(Fn fn);

    std::unique_ptr<TChart> chart_;
    MessageService* messages_ = nullptr;
    QImage buffer_;
    std::unique_ptr<QPainter> directPainter_;
    std::unique_ptr<QtCanvas3D> directCanvas_;
    // Wheel turn not yet amounting to a whole notch (touchpads send parts).
    int wheelRest_ = 0;
};

} // namespace telvara
