#pragma once
// A drawing surface that logs every call, with fixed text metrics:
// each character is half the font height wide, a line is height + 4 high.
#include "chart/canvas3d.h"

#include <string>
#include <vector>

namespace telvara::test {

enum class OpKind {
    Line, // pts = {from, to}
    Rectangle,
    FillRect,
    Polyline,
    Polygon,
    Text,
    RotatedText,
    ClipRect,
    ClipPolygon,
    UnClip,
    Pen,
    Brush,
    Font,
    BackMode,
    BeginBuffer,
    EndBuffer,
    Mapping
};

struct Op {
    OpKind kind;
    std::vector<TPoint> pts;
    TRect rect;
    std::string text;
    int angle = 0;
    TPenState pen;
    TBrushState brush;
    TFontState font;
    TTextHorizAlign ha = htaLeft;
    TTextVertAlign va = vtaTop;
    TCanvasBackMode backMode = cbmOpaque;
};

inline int codePoints(const std::string& s) {
    int n = 0;
    for (unsigned char ch : s)
        if ((ch & 0xC0) != 0x80)
            ++n;
    return n;
}

class RecordingCanvas : public TCanvas3D {
public:
    std::vector<Op> ops;
    bool supportsBuffer = false;
    TMapping mapping;

    void MoveTo(int x, int y) override { pos_ = {x, y}; }
    void LineTo(int x, int y) override {
        Op op = base(OpKind::Line);
        op.pts = {pos_, {x, y}};
        ops.push_back(op);
        pos_ = {x, y};
    }
    void Rectangle(int l, int t, int r, int b) override {
        Op op = base(OpKind::Rectangle);
        op.rect = {l, t, r, b};
        ops.push_back(op);
    }
    void FillRect(const TRect& r) override {
        Op op = base(OpKind::FillRect);
        op.rect = r;
        ops.push_back(op);
    }
    void Polyline(const std::vector<TPoint>& pts) override {
        Op op = base(OpKind::Polyline);
        op.pts = pts;
        ops.push_back(op);
    }
    void Polygon(const std::vector<TPoint>& pts) override {
        Op op = base(OpKind::Polygon);
        op.pts = pts;
        ops.push_back(op);
    }
    void TextOut(int x, int y, const std::string& text) override {
        Op op = base(OpKind::Text);
        op.pts = {{x, y}};
        op.text = text;
        ops.push_back(op);
    }
    void RotatedTextOut(int x, int y, const std::string& text, int angle) override {
        Op op = base(OpKind::RotatedText);
        op.pts = {{x, y}};
        op.text = text;
        op.angle = angle;
        ops.push_back(op);
    }
    int TextWidth(const std::string& text) override {
        return codePoints(text) * (Font().height / 2);
    }
    int TextHeight(const std::string&) override { return Font().height + 4; }
    void ClipRectangle(const TRect& r) override {
        Op op = base(OpKind::ClipRect);
        op.rect = r;
        ops.push_back(op);
    }
    void ClipPolygon(const std::vector<TPoint>& pts) override {
        Op op = base(OpKind::ClipPolygon);
        op.pts = pts;
        ops.push_back(op);
    }
    void UnClipRectangle() override { ops.push_back(base(OpKind::UnClip)); }
    TMapping GetMapping() const override { return mapping; }
    void SetMapping(const TMapping& m) override {
        mapping = m;
        ops.push_back(base(OpKind::Mapping));
    }
    bool BeginBuffer(int w, int h, bool) override {
        Op op = base(OpKind::BeginBuffer);
        op.rect = {0, 0, w, h};
        ops.push_back(op);
        return supportsBuffer;
    }
    void EndBuffer(int x, int y) override {
        Op op = base(OpKind::EndBuffer);
        op.pts = {{x, y}};
        ops.push_back(op);
    }

    std::vector<Op> of(OpKind k) const {
        std::vector<Op> out;
        for (const Op& op : ops)
            if (op.kind == k)
                out.push_back(op);
        return out;
    }
    std::vector<Op> textsEqual(const std::string& s) const {
        std::vector<Op> out;
        for (const Op& op : ops)
            if ((op.kind == OpKind::Text || op.kind == OpKind::RotatedText) && op.text == s)
                out.push_back(op);
        return out;
    }
    void clear() { ops.clear(); }

protected:
    void PenChanged() override { ops.push_back(base(OpKind::Pen)); }
    void BrushChanged() override { ops.push_back(base(OpKind::Brush)); }
    void FontChanged() override { ops.push_back(base(OpKind::Font)); }
    void BackModeChanged() override { ops.push_back(base(OpKind::BackMode)); }

private:
    Op base(OpKind k) const {
        Op op{k,         {}, {}, {}, 0, Pen(), Brush(), Font(), TextHorizAlign(), TextVertAlign(),
              BackMode()};
        return op;
    }
    TPoint pos_;
};

} // namespace telvara::test
