#pragma once
// The chart written to a file in the format its name ends in: a 24-bit BMP
// (the default), a PNG, or a PDF or SVG page drawn as vectors through the
// same surface as the screen and the printer, so text stays text.
#include "chart/chart_renderer.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace telvara {

enum class ChartFileKind { Bmp, Png, Pdf, Svg };

// By the name's ending, any case; a name with another ending is a BMP.
ChartFileKind chartFileKind(const QString& fileName);

// The PNG of image, lossless: an exact palette when the picture holds at most
// 256 colours, three bytes a pixel otherwise; fast compression either way.
QByteArray EncodePng(const QImage& image);

// Writes the renderer's chart at its own size in the format of the name's ending. PDF
// and SVG pages are laid out as the chart is, one point for each pixel, and
// drawn as the printer draws (no panel bevels, no background fill unless the
// gradient is on). The old file is replaced only by a complete new one; an
// IoError names the file on failure.
void SaveChartFile(TChartRenderer& renderer, const QString& fileName);

} // namespace telvara
