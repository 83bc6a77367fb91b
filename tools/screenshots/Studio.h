#pragma once
#include "TestUi.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class QDialog;
class QWidget;

// One picture of the manual: the window as a user sees it (its caption on a title bar
// drawn around it) or a printed page, and what the manual's test looks for in the text.
struct Picture {
    QImage image;
    QString objectName; // the screen's objectName; empty for a printed page
    QString caption; // the window title as the program sets it; empty for a printed page
};

// What the rows of the screen table work with: the scripted Ui the screens were created
// on, the folder the printed documents go to, and the ways of taking a picture.
class Studio {
public:
    Studio(TestUi& testUi, QString folder) : ui(testUi), folder_(std::move(folder)) { }

    TestUi& ui;

    // A window shown at size (its own when invalid).
    static Picture window(QWidget* w, QSize size = {});
    // The modal screen that open() shows through the scripted Ui; prepare runs on it first
    // (fill a field, press a button). Empty when open() shows no screen.
    std::optional<Picture> nextScreen(const std::function<void()>& open,
                                      const std::function<void(QDialog*)>& prepare = {});
    // A real modal window of Qt (a message box, the preview, the print dialog) that open()
    // shows; it is pictured and closed once it is up. Empty when none came.
    static std::optional<Picture> realModal(const std::function<void()>& open, QSize size = {},
                                            const std::function<void(QWidget*)>& prepare = {});
    // The PDF file name for a printed document, in the pictures' folder.
    QString pdf(const QString& name) const;
    // Answers the next print dialog with a PDF file of that name.
    void printNextTo(const QString& name);
    // One page (1-based) of a PDF written before, as poppler draws it.
    std::optional<Picture> page(const QString& name, int number) const;

private:
    QString folder_;
};

// A row of the screen table: the picture's file name (without .png) and how to take it.
// take() returns nothing for a screen that this build does not have.
struct Shot {
    const char* file;
    std::function<std::optional<Picture>(Studio&)> take;
};

// Every screen of the manual, in the manual's order.
const std::vector<Shot>& shots();
