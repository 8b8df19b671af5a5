#include "platform/qt_canvas.h"

#include <QFontMetrics>
#include <QPolygon>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace telvara {

namespace {

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

Qt::PenStyle penStyle(TPenStyle s) {
    switch (s) {
    case psDash:
        return Qt::DashLine;
    case psDot:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle brushStyle(TBrushStyle s) {
    switch (s) {
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::BDiagPattern;
    case bsBDiagonal:
        return Qt::FDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

QPainter::CompositionMode compositionMode(TPenMode m) {
    switch (m) {
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

QPolygon toPolygon(const std::vector<TPoint>& pts) {
    QPolygon poly;
    poly.reserve(qsizetype(pts.size()));
    for (const TPoint& p : pts)
        poly << QPoint(p.x, p.y);
    return poly;
}

} // namespace

QColor QtCanvas3D::ToQColor(TColor c) {
    const TColor v = colorToRGB(c);
    return QColor(redOf(v), greenOf(v), blueOf(v));
}

QtCanvas3D::QtCanvas3D(QPainter* painter, QImage* keep)
    : target_(painter), p_(painter), keep_(keep) {
    ApplyState();
}

QtCanvas3D::~QtCanvas3D() {
    if (bufferPainter_)
        bufferPainter_->end();
}

void QtCanvas3D::ApplyState() {
    PenChanged();
    BrushChanged();
    FontChanged();
    BackModeChanged();
}

void QtCanvas3D::PenChanged() {
    const TPenState& s = Pen();
    QPen pen(ToQColor(s.color));
    // Width 0 is the device's thinnest line; other widths are logical units
    // and grow with the printing stretch.
    pen.setWidth(s.width < 0 ? 0 : s.width);
    if (s.style == psDot && s.smallDots)
        pen.setDashPattern({1, 1});
    else
        pen.setStyle(penStyle(s.style));
    // Lines end before their last pixel, as the engine expects.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p_->setPen(pen);
    p_->setCompositionMode(compositionMode(s.mode));
}

void QtCanvas3D::BrushChanged() {
    const TBrushState& b = Brush();
    p_->setBrush(QBrush(ToQColor(b.color), brushStyle(b.style)));
}

void QtCanvas3D::FontChanged() {
    const TFontState& f = Font();
    QFont font(qs(f.name));
    font.setPixelSize(f.height > 0 ? f.height : 1);
    font.setBold(f.style & fsBold);
    font.setItalic(f.style & fsItalic);
    font.setUnderline(f.style & fsUnderline);
    font.setStrikeOut(f.style & fsStrikeOut);
    // Plain glyphs: a label the label pass draws many times at one place
    // must look like one label, not grow bold from blended edges.
    font.setStyleStrategy(QFont::NoAntialias);
    // The light hinting an unscaled screen gets by default, asked for by name:
    // on a scaled screen Qt would drop hinting, and saved pictures would differ
    // with the screen the program runs on.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    p_->setFont(font);
}

void QtCanvas3D::BackModeChanged() {
    p_->setBackgroundMode(BackMode() == cbmOpaque ? Qt::OpaqueMode : Qt::TransparentMode);
    p_->setBackground(ToQColor(BackColor()));
}

void QtCanvas3D::MoveTo(int x, int y) {
    pos_ = {x, y};
}

// A segment from a to b without the pixel at b. A thin line leaves out the
// pixel at its end further along its longer direction, whichever way it is
// drawn; a line drawn left or up along that direction would keep its last
// pixel and lose its first (a V-shaped joint would miss its tip). Only on the
// unscaled screen and bitmap, where a logical unit is one pixel.
void QtCanvas3D::StrokeSegment(QPoint a, QPoint b) {
    if (a == b || Pen().style == psClear)
        return;
    const int dx = b.x() - a.x(), dy = b.y() - a.y();
    const bool backwards = std::abs(dx) >= std::abs(dy) ? dx < 0 : dy < 0;
    if (!backwards || Pen().width > 1 || p_->combinedTransform().type() > QTransform::TxTranslate) {
        p_->drawLine(a, b);
        return;
    }
    if (dx == 0 || dy == 0) {
        // Moved one pixel back along itself: the same row or column of pixels.
        const QPoint step(dx < 0 ? 1 : 0, dy < 0 ? 1 : 0);
        p_->drawLine(a + step, b + step);
        return;
    }
    // The same pixels as the line drawn the other way, its last one cut off
    // and its first one added.
    p_->save();
    const QRect box(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                    QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    p_->setClipRegion(QRegion(box) - QRegion(b.x(), b.y(), 1, 1), Qt::IntersectClip);
    p_->drawLine(a, b);
    p_->restore();
    p_->fillRect(QRect(a.x(), a.y(), 1, 1), p_->pen().color());
}

void QtCanvas3D::LineTo(int x, int y) {
    StrokeSegment(pos_, {x, y});
    pos_ = {x, y};
}

void QtCanvas3D::Rectangle(int left, int top, int right, int bottom) {
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    const bool pen = Pen().style != psClear;
    if (Brush().style != bsClear) {
        // Without a pen the filled area is one pixel smaller, as on the platform.
        const int shrink = pen ? 0 : 1;
        p_->fillRect(QRect(left, top, right - left - shrink, bottom - top - shrink), p_->brush());
    }
    if (pen && right - left >= 1 && bottom - top >= 1) {
        const QBrush saved = p_->brush();
        p_->setBrush(Qt::NoBrush);
        if (Pen().width <= 1)
            p_->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
        else
            p_->drawRect(QRect(left, top, right - left, bottom - top));
        p_->setBrush(saved);
    }
}

void QtCanvas3D::FillRect(const TRect& r) {
    if (r.Width() <= 0 || r.Height() <= 0)
        return;
    p_->fillRect(QRect(r.left, r.top, r.Width(), r.Height()), p_->brush());
}

void QtCanvas3D::Polyline(const std::vector<TPoint>& pts) {
    if (pts.empty())
        return;
    MoveTo(pts[0].x, pts[0].y);
    for (size_t i = 1; i < pts.size(); ++i)
        LineTo(pts[i].x, pts[i].y);
}

void QtCanvas3D::Polygon(const std::vector<TPoint>& pts) {
    if (pts.size() < 2)
        return;
    p_->drawPolygon(toPolygon(pts));
}

void QtCanvas3D::DrawAlignedText(int x, int y, const QString& s) {
    const QFontMetrics fm = p_->fontMetrics();
    const int w = fm.horizontalAdvance(s);
    int tx = x;
    if (TextHorizAlign() == htaCenter)
        tx = x - w / 2;
    else if (TextHorizAlign() == htaRight)
        tx = x - w;
    const int baseline = TextVertAlign() == vtaTop ? y + fm.ascent() : y - fm.descent();
    // Text takes the font colour; its cell is filled only with a solid brush
    // in opaque mode.
    const QPen savedPen = p_->pen();
    const Qt::BGMode savedMode = p_->backgroundMode();
    const QBrush savedBackground = p_->background();
    const bool opaque = BackMode() == cbmOpaque && Brush().style != bsClear;
    p_->setPen(ToQColor(Font().color));
    p_->setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    if (opaque)
        p_->setBackground(ToQColor(Brush().color));
    p_->drawText(tx, baseline, s);
    p_->setPen(savedPen);
    p_->setBackgroundMode(savedMode);
    p_->setBackground(savedBackground);
}

void QtCanvas3D::TextOut(int x, int y, const std::string& text) {
    DrawAlignedText(x, y, qs(text));
}

void QtCanvas3D::RotatedTextOut(int x, int y, const std::string& text, int angle) {
    p_->save();
    p_->translate(x, y);
    p_->rotate(-angle);
    DrawAlignedText(0, 0, qs(text));
    p_->restore();
}

int QtCanvas3D::TextWidth(const std::string& text) {
    return p_->fontMetrics().horizontalAdvance(qs(text));
}

int QtCanvas3D::TextHeight(const std::string&) {
    return p_->fontMetrics().height();
}

void QtCanvas3D::ClipRectangle(const TRect& r) {
    p_->setClipRect(QRect(r.left, r.top, r.Width(), r.Height()),
                    clipped_ ? Qt::IntersectClip : Qt::ReplaceClip);
    clipped_ = true;
}

void QtCanvas3D::ClipPolygon(const std::vector<TPoint>& pts) {
    p_->setClipRegion(QRegion(toPolygon(pts)), clipped_ ? Qt::IntersectClip : Qt::ReplaceClip);
    clipped_ = true;
}

void QtCanvas3D::UnClipRectangle() {
    p_->setClipping(false);
    clipped_ = false;
}

void QtCanvas3D::SetMapping(const TMapping& m) {
    mapping_ = m;
    if (!m.anisotropic) {
        p_->setViewTransformEnabled(false);
        return;
    }
    p_->setWindow(m.winOrgX, m.winOrgY, m.winExtX, m.winExtY);
    p_->setViewport(m.viewOrgX, m.viewOrgY, m.viewExtX, m.viewExtY);
    p_->setViewTransformEnabled(true);
}

QSize keptImageSize(int width, int height, qreal ratio) {
    return {static_cast<int>(std::ceil(width * ratio)),
            static_cast<int>(std::ceil(height * ratio))};
}

bool QtCanvas3D::BeginBuffer(int width, int height, bool /*monochrome*/) {
    if (!keep_ || width <= 0 || height <= 0)
        return false;
    const QSize device = keptImageSize(width, height, keepRatio_);
    if (keep_->size() != device || keep_->devicePixelRatio() != keepRatio_) {
        *keep_ = QImage(device, QImage::Format_RGB32);
        keep_->setDevicePixelRatio(keepRatio_);
        // A fractional ratio leaves a part of the last device row and column
        // outside every logical pixel: white, never what the memory held.
        keep_->fill(Qt::white);
    }
    bufferPainter_ = std::make_unique<QPainter>(keep_);
    p_ = bufferPainter_.get();
    clipped_ = false;
    ApplyState();
    return true;
}

void QtCanvas3D::EndBuffer(int x, int y) {
    if (!bufferPainter_)
        return;
    bufferPainter_->end();
    bufferPainter_.reset();
    p_ = target_;
    clipped_ = false;
    p_->drawImage(x, y, *keep_);
    ApplyState();
}

} // namespace telvara
