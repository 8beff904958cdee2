#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class QColor;
class QColorDialog;
class QFileDialog;
class QImage;
class QPainter;
class QSize;
class QTextDocument;
class QTouchDevice;
class QWidget;

namespace TestSupport {

// A progress bar over the window (the bar of a save or an open that lasts) is no
// question: a test never answers it, nor counts it among the dialogs a command opened.
bool isProgressBar(const QWidget *widget);

// Answers the next modal dialog (message box, file or colour dialog...; progress bars are
// passed over) that opens within timeoutMs (generous: a loaded machine running sanitized builds
// opens dialogs slowly): the callback gets the dialog while its exec() is running. The returned
// flag becomes true once the callback ran, so a test can check that the dialog really appeared.
std::shared_ptr<bool> answerNextModal(std::function<void(QWidget *)> answer, int timeoutMs = 30000);

// Puts path into a file dialog's name field, as a user types it. QFileDialog::selectFile leaves
// the field alone while it has the keyboard focus, so a dialog that became active before the
// answer came would keep its old name and never accept: the test would hang on it.
void typeFileName(QFileDialog *dialog, const QString &path);

// Clicks the button of a dialog whose text (without '&') is text; false when there is none.
bool clickButton(QWidget *dialog, const QString &text);
// Sends Escape to a dialog, as a user closing a question with the keyboard would.
void pressEscape(QWidget *dialog);

// A drag as the user makes it: press at the first point, a move event per point with the button
// held (QTest::mouseMove sends no move to a view in Qt 5), release at the last point.
void drag(QWidget *widget, const QVector<QPoint> &points, Qt::MouseButton button = Qt::LeftButton,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// A single move event with the given buttons held.
void moveTo(QWidget *widget, QPoint point, Qt::MouseButtons buttons = Qt::LeftButton,
            Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Why a colour dialog opened over the board does not look as the application's own: a widget
// of it whose background is not the application's (a style rule reached it). Empty when none.
QString unlikeApplicationDialog(QColorDialog *shown);

// The bounds of the pixels of image darker than grey (by qGray): the ink on a light ground.
QRect darkBounds(const QImage &image, int grey);
// How shown differs from reference, a picture of the same size on a white ground: the pixels
// of ink (not white in either), those whose grey differs by more than by, and the largest
// difference of any channel.
struct InkDifference
{
    int ink = 0;
    int differing = 0;
    int largest = 0;
    QString toString() const;
};
InkDifference inkDifference(const QImage &reference, const QImage &shown, int by);
// A photo-like picture: smooth colour ramps, steep enough that blocks of a stretched pixel show,
// under a line of dark letters.
QImage photoLike(QSize size);
// Black lines one pixel wide every four pixels both ways on white: sampled where it is shown
// small, it falls apart into dots and moiré.
QImage gridOfLines(QSize size);
// draw as a photo viewer shows it on white, in a picture of size: drawn four times finer,
// pictures filtered and edges left unsmoothed, each 4 x 4 block averaged.
QImage fineDrawing(QSize size, const std::function<void(QPainter *)> &draw);
// What the screen shows of widget: its window's own pixels as last painted, not painted afresh
// as a grab is. Null where the window keeps no picture of itself.
QImage shownOnScreen(QWidget *widget);
// How many pixels of image the test holds to be of the kind it looks for.
int countPixels(const QImage &image, const std::function<bool(const QColor &)> &counted);

// The most memory the program has held since the last reset, in MB (the kernel's own count).
// Pictures being read beside the board have come (placed, or said): false after timeoutMs.
bool picturesCome(int timeoutMs = 60000);

qint64 peakMegabytes();
void resetPeakMemory();

// The lines document is laid out in, each as the text it shows.
QStringList laidOutLines(const QTextDocument *document);

// The touch screen that touch events in tests come from.
QTouchDevice *touchScreen();

// Records "QObject::connect" and "connectSlotsByName" warnings: a string-signature connection
// that failed is only a warning at run time, so tests check that none was recorded.
void recordConnectWarnings();
QStringList takeConnectWarnings();

} // namespace TestSupport
