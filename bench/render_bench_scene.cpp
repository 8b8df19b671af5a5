#include "bench/render_bench_scene.h"

#include "base/colors.h"
#include "base/numbers.h"
#include "chartwin/log_paper.h"

#include <cmath>
#include <cstdio>

namespace telvara {

namespace {

// splitmix64: the same numbers everywhere (std distributions are not).
class Numbers {
public:
    explicit Numbers(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A value in [lo, hi).
    double between(double lo, double hi) {
        return lo + (hi - lo) * double(next() >> 11) / double(1ull << 53);
    }
    template <class T, std::size_t N> const T& pick(const T (&choices)[N]) {
        return choices[next() % N];
    }

private:
    std::uint64_t state_;
};

std::string fixed(double v, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string colour(TColor c) {
    const TColor rgb = colorToRGB(c);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", unsigned(rgb & 0xFF),
                  unsigned((rgb >> 8) & 0xFF), unsigned((rgb >> 16) & 0xFF));
    return text;
}

std::string fontJson(TChartFont& f) {
    return "{\"px\": " + std::to_string(f.Height()) + ", \"color\": " + quoted(colour(f.Color())) +
           "}";
}

} // namespace

std::vector<RelaySettings> benchRelays(int count, std::uint64_t seed) {
    static const int kCts[] = {50, 75, 100, 150, 200, 300, 400, 600, 800, 1000, 1200};
    static const double kTaps[] = {2, 2.5, 3, 3.5, 4, 4.5, 5, 6};
    Numbers n(seed);
    std::vector<RelaySettings> relays;
    for (int i = 0; i < count; ++i) {
        RelaySettings r;
        char device[16];
        std::snprintf(device, sizeof device, "51-%03d", i + 1);
        r.device = device;
        const double tap = n.pick(kTaps);
        r.ct = std::to_string(n.pick(kCts));
        r.tap = fixed(tap, 1);
        // Above 700 % of the tap, so the instantaneous step lies right of the curve.
        r.instTap = fixed(std::ceil(1.4 * tap * n.between(1.2, 4.0)), 0);
        // Very inverse: t = TMS x 13.5 / (M - 1).
        const double tms = n.between(0.02, 0.35);
        const double multiples[] = {1.5, 2, 3, 4, 5, 7};
        for (std::size_t k = 0; k < 6; ++k)
            r.times[k] = fixed(tms * 13.5 / (multiples[k] - 1), 2);
        r.times[6] = fixed(n.between(0.02, 0.1), 2);
        relays.push_back(r);
    }
    return relays;
}

std::string sceneJson(TChart& chart, int width, int height, const std::vector<AxisFrame>& frames) {
    TChartAxis& bottom = chart.BottomAxis();
    TChartAxis& left = chart.LeftAxis();
    const TRect& r = chart.ChartRect();
    std::string j = "{\n";
    j += "\"width\": " + std::to_string(width) + ", \"height\": " + std::to_string(height) + ",\n";
    j += "\"chart_rect\": [" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + "],\n";
    j += "\"xlim\": [" + number(bottom.Minimum()) + ", " + number(bottom.Maximum()) + "],\n";
    j += "\"ylim\": [" + number(left.Minimum()) + ", " + number(left.Maximum()) + "],\n";
    std::string title;
    for (const std::string& line : chart.Title().Text())
        title += (title.empty() ? "" : "\n") + line;
    j += "\"title\": " + quoted(title) + ", \"title_font\": " + fontJson(chart.Title().Font()) +
         ",\n";
    j += "\"xlabel\": " + quoted(bottom.Title().Caption()) +
         ", \"ylabel\": " + quoted(left.Title().Caption()) +
         ", \"label_font\": " + fontJson(bottom.LabelsFont()) + ",\n";
    j += "\"gradient\": [" + quoted(colour(chart.Gradient().StartColor())) + ", " +
         quoted(colour(chart.Gradient().EndColor())) + "],\n";
    j += "\"series\": [\n";
    for (int i = 0; i < chart.NumSeries(); ++i) {
        TChartSeries& s = *chart.SeriesAt(i);
        const TColor c = s.SeriesColor() == clDefault ? s.ValueColor(0) : s.SeriesColor();
        std::string xs, ys;
        for (int p = 0; p < s.Count(); ++p) {
            xs += (p ? ", " : "") + number(s.XValues()[p]);
            ys += (p ? ", " : "") + number(s.YValues()[p]);
        }
        j += "  {\"title\": " + quoted(s.Title()) + ", \"color\": " + quoted(colour(c)) +
             ", \"x\": [" + xs + "], \"y\": [" + ys + "]}" +
             (i + 1 < chart.NumSeries() ? ",\n" : "\n");
    }
    j += "],\n\"zoom_frames\": [";
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const AxisFrame& f = frames[i];
        j += std::string(i ? ", " : "") + "[" + number(f.xMin) + ", " + number(f.xMax) + ", " +
             number(f.yMin) + ", " + number(f.yMax) + "]";
    }
    j += "],\n\"ticks\": " + tickJson() + "\n}\n";
    return j;
}

std::string tickJson() {
    std::string values, shown;
    for (double v : axisLabelValues())
        values += (values.empty() ? "" : ", ") + number(v);
    for (double v : decadeLabelValues())
        shown += (shown.empty() ? "" : ", ") + std::string("[") + number(v) + ", " +
                 quoted(formatFloatPattern(v, "#,##0.###")) + "]";
    return "{\"values\": [" + values + "], \"labelled\": [" + shown + "]}";
}

} // namespace telvara
