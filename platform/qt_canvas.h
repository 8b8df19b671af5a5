#pragma once
// The chart engine's drawing surface on a QPainter: a widget's kept
// off-screen image, an image to be saved, or a printer page.
#include "chart/canvas3d.h"

#include <QImage>
#include <QPainter>

#include <memory>

namespace telvara {

// The device size of a kept image of width x height logical pixels.
QSize keptImageSize(int width, int height, qreal ratio);

class QtCanvas3D : public TCanvas3D {
public:
    // Draws with painter (already active). With keep, BeginBuffer draws into
    // that image (re-created when its size differs) and EndBuffer copies it
    // to the painter.
    explicit QtCanvas3D(QPainter* painter, QImage* keep = nullptr);
    // Device pixels per logical pixel of the kept image: the engine keeps
    // drawing in logical pixels and the painter scales, so text and thin
    // lines come out at the screen's resolution.
    void SetKeepRatio(qreal ratio) { keepRatio_ = ratio > 0 ? ratio : 1; }
    ~QtCanvas3D() override;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void FillRect(const TRect& r) override;
    void Polyline(const std::vector<TPoint>& pts) override;
    void Polygon(const std::vector<TPoint>& pts) override;
    void TextOut(int x, int y, const std::string& text) override;
    void RotatedTextOut(int x, int y, const std::string& text, int angle) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void ClipRectangle(const TRect& r) override;
    void ClipPolygon(const std::vector<TPoint>& pts) override;
    void UnClipRectangle() override;
    TMapping GetMapping() const override { return mapping_; }
    void SetMapping(const TMapping& m) override;
    bool BeginBuffer(int width, int height, bool monochrome) override;
    void EndBuffer(int x, int y) override;

    QPainter* Painter() const { return p_; }

    static QColor ToQColor(TColor c);

protected:
    void PenChanged() override;
    void BrushChanged() override;
    void FontChanged() override;
    void BackModeChanged() override;

private:
    void ApplyState();
    void DrawAlignedText(int x, int y, const QString& s);
    void StrokeSegment(QPoint a, QPoint b);

    QPainter* target_;
    QPainter* p_;
    QImage* keep_;
    qreal keepRatio_ = 1;
    std::unique_ptr<QPainter> bufferPainter_;
    QPoint pos_;
    TMapping mapping_;
    bool clipped_ = false;
};

} // namespace telvara
