#pragma once
// The devices the chart prints and exports through: a printer and the bitmap
// the chart is saved as. The platform makes its own and whoever prints or
// exports hands them down; the engine only talks to these interfaces.
#include "chart/canvas3d.h"

#include <memory>
#include <string>

namespace telvara {

enum TPrinterOrientation : int { poPortrait, poLandscape };

// A printer. Every call may fail with a TelvaraError (no printer configured,
// the job refused by the spooler).
class TChartPrinter {
public:
    virtual ~TChartPrinter() = default;
    virtual TPrinterOrientation Orientation() = 0;
    virtual void SetOrientation(TPrinterOrientation o) = 0;
    // Printable page in device pixels, for the orientation now set.
    virtual int PageWidth() = 0;
    virtual int PageHeight() = 0;
    // Logical pixels per inch.
    virtual int DpiX() = 0;
    virtual int DpiY() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // Opens the document on its first page.
    virtual void BeginDoc() = 0;
    // The page's surface, device pixels, origin at the printable area's corner;
    // valid while a document is open.
    virtual TCanvas3D& Canvas() = 0;
    // Closes the document; the page is printed.
    virtual void EndDoc() = 0;
    // Drops the open job; nothing is printed.
    virtual void Abort() = 0;
    // Whether a document is open.
    virtual bool Printing() const = 0;
    // Whether there is a printer to print on; asked before any question
    // about the page, so that nobody answers them for nothing.
    virtual bool Available() { return true; }
};

// An off-screen picture of the chart.
class TChartBitmap {
public:
    virtual ~TChartBitmap() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual TCanvas3D& Canvas() = 0;
    // Writes a Windows BMP file, replacing an existing one only when the new
    // one is complete; an IoError naming the file on failure.
    virtual void SaveToFile(const std::string& fileName) = 0;
};

class TChartBitmapFactory {
public:
    virtual ~TChartBitmapFactory() = default;
    // A new bitmap of the given size, filled white.
    virtual std::unique_ptr<TChartBitmap> Create(int width, int height) = 0;
};

// Where there is no printer to print on.
extern const char* const msgNoPrinter;

} // namespace telvara
