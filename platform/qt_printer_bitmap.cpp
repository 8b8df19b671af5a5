#include "platform/qt_printer_bitmap.h"

#include "platform/qt_canvas.h"
#include "platform/qt_printer.h"
#include "platform/save_file.h"

#include <QPainter>

#include <algorithm>

namespace telvara {

// Drawn in the screen's format so that the file shows the screen's pixels.
TQtChartBitmap::TQtChartBitmap(int width, int height)
    : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
    image_.fill(Qt::white);
}

TQtChartBitmap::~TQtChartBitmap() {
    EndPainting();
}

TCanvas3D& TQtChartBitmap::Canvas() {
    if (!canvas_) {
        painter_ = std::make_unique<QPainter>(&image_);
        canvas_ = std::make_unique<QtCanvas3D>(painter_.get());
    }
    return *canvas_;
}

void TQtChartBitmap::EndPainting() {
    canvas_.reset();
    if (painter_)
        painter_->end();
    painter_.reset();
}

const QImage& TQtChartBitmap::Image() {
    EndPainting();
    return image_;
}

void TQtChartBitmap::SaveToFile(const std::string& fileName) {
    WriteBmp24(Image(), QString::fromStdString(fileName));
}

std::unique_ptr<TChartBitmap> TQtChartBitmapFactory::Create(int width, int height) {
    return std::make_unique<TQtChartBitmap>(width, height);
}

void WriteBmp24(const QImage& image, const QString& fileName) {
    // Three bytes a pixel whatever the drawing format.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    writeFile(fileName, [&](QIODevice& file) { return rgb.save(&file, "BMP"); });
}

TQtChartDevices::TQtChartDevices() : printer_(std::make_unique<TQtPrinter>()) {}

TQtChartDevices::~TQtChartDevices() = default;

} // namespace telvara
