#pragma once
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>

// What poppler reads back from a PDF: the pages' text laid out, and every word with its
// box in millimetres from the page's top-left corner.
struct PdfWord {
    int page;
    QRectF box;
    QString text;
};

// Whether poppler's tools run on this system: a Windows build's tests under Wine cannot start
// them, and skip reading a PDF back there (the host's suite reads the same pages).
bool popplerRuns();
#define REQUIRE_POPPLER()                                                                                              \
    do {                                                                                                               \
        if (!popplerRuns())                                                                                            \
            QSKIP("poppler's pdftotext cannot run on this system: the host's suite reads these pages back");           \
    } while (false)

struct PdfText {
    int pages = 0;
    QStringList layout; // pdftotext -layout, one entry per page
    QList<PdfWord> words;

    // Reads path with pdftotext; empty (pages 0) when poppler cannot read it.
    static PdfText read(const QString& path);
    // The words of page (0-based) whose text is word.
    QList<QRectF> find(int page, const QString& word) const;
    // Every picture the PDF holds, as stored in it (pdfimages), in page order.
    static QList<QImage> images(const QString& path);
};
