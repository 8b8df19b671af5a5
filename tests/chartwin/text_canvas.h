#pragma once
// A surface that keeps the texts and lines drawn on it, with fixed metrics
// (a character is 6 pixels wide, a line 16 high).
#include "chart/canvas3d.h"

#include <string>
#include <vector>

namespace telvara::test {

struct DrawnText {
    int x, y;
    std::string text;
    TFontState font;
};

struct DrawnLine {
    TPoint from, to;
    TPenState pen;
};

class TextCanvas : public TCanvas3D {
public:
    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;

    void MoveTo(int x, int y) override { pos_ = {x, y}; }
    void LineTo(int x, int y) override {
        lines.push_back({pos_, {x, y}, Pen()});
        pos_ = {x, y};
    }
    void Rectangle(int, int, int, int) override {}
    void FillRect(const TRect&) override {}
    void Polyline(const std::vector<TPoint>& pts) override {
        for (std::size_t i = 1; i < pts.size(); ++i)
            lines.push_back({pts[i - 1], pts[i], Pen()});
    }
    void Polygon(const std::vector<TPoint>&) override {}
    void TextOut(int x, int y, const std::string& text) override {
        texts.push_back({x, y, text, Font()});
    }
    void RotatedTextOut(int x, int y, const std::string& text, int) override {
        texts.push_back({x, y, text, Font()});
    }
    int TextWidth(const std::string& text) override { return 6 * int(text.size()); }
    int TextHeight(const std::string&) override { return 16; }
    void ClipRectangle(const TRect&) override {}
    void ClipPolygon(const std::vector<TPoint>&) override {}
    void UnClipRectangle() override {}
    TMapping GetMapping() const override { return {}; }
    void SetMapping(const TMapping&) override {}

private:
    TPoint pos_;
};

} // namespace telvara::test
