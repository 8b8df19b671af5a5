#pragma once
// The system's default paper: what a page is drawn on when there is no
// printer to ask.
#include <QPageSize>
#include <QString>

namespace telvara {

// A paper name as the print system writes it ("a4", "letter", "A3", ...);
// an invalid size for a name it does not know.
QPageSize paperSizeNamed(const QString& name);

// From $PAPERSIZE, then /etc/papersize, then the locale's paper (LC_PAPER);
// A4 when none of them gives a known size.
QPageSize systemPaperSize();

} // namespace telvara
