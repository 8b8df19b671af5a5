#pragma once
// The chart's export bitmap on QImage, written as a 24-bit Windows BMP file;
// and the program's devices, the default printer and the bitmap maker.
#include "chart/print.h"

#include <QImage>
#include <QString>

#include <memory>

class QPainter;

namespace telvara {

class QtCanvas3D;

class TQtChartBitmap final : public TChartBitmap {
public:
    // Filled white; at least 1 x 1 (an image without pixels cannot be written).
    TQtChartBitmap(int width, int height);
    ~TQtChartBitmap() override;

    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    TCanvas3D& Canvas() override;
    void SaveToFile(const std::string& fileName) override;
    // The picture drawn so far (drawing stops; Canvas() starts it again).
    const QImage& Image();

private:
    void EndPainting();
    QImage image_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QtCanvas3D> canvas_;
};

class TQtChartBitmapFactory final : public TChartBitmapFactory {
public:
    std::unique_ptr<TChartBitmap> Create(int width, int height) override;
};

// Writes image as a 24-bit BMP file. The new file is written beside the old
// one and takes its place only when complete: on failure the old file is left
// as it was, and an IoError names the file.
void WriteBmp24(const QImage& image, const QString& fileName);

// The default printer and the bitmap maker, kept by whoever prints or exports
// and handed to the chart's calls.
class TQtChartDevices {
public:
    TQtChartDevices();
    ~TQtChartDevices();
    TQtChartDevices(const TQtChartDevices&) = delete;
    TQtChartDevices& operator=(const TQtChartDevices&) = delete;

    TChartPrinter& Printer() { return *printer_; }
    TChartBitmapFactory& Bitmaps() { return bitmaps_; }

private:
    std::unique_ptr<TChartPrinter> printer_;
    TQtChartBitmapFactory bitmaps_;
};

} // namespace telvara
