#include "platform/qt_printer_bitmap.h"

#include "base/errors.h"
#include "platform/qt_canvas.h"
#include "platform/qt_printer.h"

#include <QPainter>
#include <QSaveFile>

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
    const std::string name = fileName.toStdString();
    // Three bytes a pixel whatever the drawing format.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError("ファイル " + name + " を作成できません");
    if (!rgb.save(&file, "BMP")) {
        file.cancelWriting();
        throw IoError("ファイル " + name + " に書き込めません");
    }
    if (!file.commit())
        throw IoError("ファイル " + name + " に書き込めません");
}

TQtChartDevices::TQtChartDevices() : printer_(std::make_unique<TQtPrinter>()) {}

TQtChartDevices::~TQtChartDevices() = default;

} // namespace telvara
