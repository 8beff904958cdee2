#include "testsupport.h"

#include "pictures/picturereading.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBackingStore>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressDialog>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace TestSupport {

bool isProgressBar(const QWidget *widget)
{
    return qobject_cast<const QProgressDialog *>(widget) != nullptr;
}

std::shared_ptr<bool> answerNextModal(std::function<void(QWidget *)> answer, int timeoutMs)
{
    auto answered = std::make_shared<bool>(false);
    auto *poll = new QTimer(qApp);
    poll->setInterval(10);
    auto remaining = std::make_shared<int>(timeoutMs / 10);
    // An answer waits for its own test only: a test that failed before its question came
    // returned, and the callback, holding what that test held, must not answer the next one's.
    const auto testNow = [] {
        return QByteArray(QTest::currentTestFunction()) + '/' + QTest::currentDataTag();
    };
    const auto look = [poll, answered, remaining, answer, test = testNow(), testNow]() {
        if (testNow() != test) {
            poll->stop();
            poll->deleteLater();
            return;
        }
        QWidget *dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isVisible() && !isProgressBar(dialog)) {
            poll->stop();
            poll->deleteLater();
            *answered = true;
            answer(dialog);
            return;
        }
        if (--*remaining <= 0) {
            poll->stop();
            poll->deleteLater();
        }
    };
    QObject::connect(poll, &QTimer::timeout, poll, look);
    poll->start();
    return answered;
}

void typeFileName(QFileDialog *dialog, const QString &path)
{
    if (auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
        // Clicked into first, as a user does: the field has the focus in every run, not only
        // in those where the window system was quick.
        QApplication::setActiveWindow(dialog);
        nameEdit->setFocus(Qt::MouseFocusReason);
        nameEdit->setText(path);
    } else {
        dialog->selectFile(path);
    }
    dialog->selectFile(path);
}

bool clickButton(QWidget *dialog, const QString &text)
{
    const auto buttons = dialog->findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->text().remove(QLatin1Char('&')) == text && button->isVisible()) {
            button->click();
            return true;
        }
    }
    return false;
}

void pressEscape(QWidget *dialog)
{
    QTest::keyClick(dialog, Qt::Key_Escape);
}

void moveTo(QWidget *widget, QPoint point, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent move(QEvent::MouseMove, point, widget->mapToGlobal(point), Qt::NoButton, buttons,
                     modifiers);
    QApplication::sendEvent(widget, &move);
}

void drag(QWidget *widget, const QVector<QPoint> &points, Qt::MouseButton button,
          Qt::KeyboardModifiers modifiers)
{
    if (points.isEmpty())
        return;
    QTest::mousePress(widget, button, modifiers, points.first());
    for (const QPoint &point : points)
        moveTo(widget, point, button, modifiers);
    QTest::mouseRelease(widget, button, modifiers, points.last());
}

QString unlikeApplicationDialog(QColorDialog *shown)
{
    QList<QWidget *> widgets = shown->findChildren<QWidget *>();
    widgets << shown;
    for (QWidget *widget : qAsConst(widgets)) {
        const QPalette::ColorRole role = widget->backgroundRole();
        const QColor background = widget->palette().color(role);
        const QColor expected = QApplication::palette(widget).color(role);
        if (background != expected)
            return QStringLiteral("%1 has background %2, the application %3")
                    .arg(QLatin1String(widget->metaObject()->className()),
                         background.name(QColor::HexArgb), expected.name(QColor::HexArgb));
    }
    return QString();
}

QRect darkBounds(const QImage &image, int grey)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < grey)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

QString InkDifference::toString() const
{
    return QStringLiteral("%1 of %2 ink pixels differ; largest difference %3")
            .arg(differing)
            .arg(ink)
            .arg(largest);
}

InkDifference inkDifference(const QImage &reference, const QImage &shown, int by)
{
    InkDifference difference;
    if (reference.size() != shown.size()) {
        difference.largest = 255;
        return difference;
    }
    const QImage a = reference.convertToFormat(QImage::Format_RGB32);
    const QImage b = shown.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < a.height(); ++y) {
        const auto *lineA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *lineB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const QRgb one = lineA[x] | 0xff000000;
            const QRgb other = lineB[x] | 0xff000000;
            if (one == 0xffffffff && other == 0xffffffff)
                continue;
            ++difference.ink;
            difference.differing += qAbs(qGray(one) - qGray(other)) > by ? 1 : 0;
            difference.largest = std::max({ difference.largest, qAbs(qRed(one) - qRed(other)),
                                            qAbs(qGreen(one) - qGreen(other)),
                                            qAbs(qBlue(one) - qBlue(other)) });
        }
    }
    return difference;
}

QImage photoLike(QSize size)
{
    QImage photo(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            photo.setPixel(x, y,
                           qRgb(128 + 100 * std::sin(x / 4.0), y * 255 / size.height(),
                                128 + 100 * std::cos((x + y) / 5.0)));
    }
    QPainter painter(&photo);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), qMax(6, size.height() / 8)));
    painter.drawText(photo.rect(), Qt::AlignCenter, QStringLiteral("Los ríos de España"));
    return photo;
}

QImage gridOfLines(QSize size)
{
    QImage grid(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            grid.setPixel(x, y, x % 4 == 0 || y % 4 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
    return grid;
}

QImage fineDrawing(QSize size, const std::function<void(QPainter *)> &draw)
{
    constexpr int kFiner = 4;
    QImage fine(size * kFiner, QImage::Format_RGB32);
    fine.fill(Qt::white);
    QPainter painter(&fine);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(kFiner, kFiner);
    draw(&painter);
    painter.end();
    return fine.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage shownOnScreen(QWidget *widget)
{
    QBackingStore *store = widget->backingStore();
    QPaintDevice *device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return QImage();
    const auto *window = static_cast<const QImage *>(device);
    return window->copy(QRect(widget->mapTo(widget->window(), QPoint()), widget->size()))
            .convertToFormat(QImage::Format_RGB32);
}

int countPixels(const QImage &image, const std::function<bool(const QColor &)> &counted)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += counted(image.pixelColor(x, y)) ? 1 : 0;
    }
    return count;
}

QStringList laidOutLines(const QTextDocument *document)
{
    QStringList lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (int n = 0; n < block.layout()->lineCount(); ++n) {
            const QTextLine line = block.layout()->lineAt(n);
            lines << block.text().mid(line.textStart(), line.textLength());
        }
    }
    return lines;
}

QTouchDevice *touchScreen()
{
    static QTouchDevice *device = QTest::createTouchDevice(QTouchDevice::TouchScreen);
    return device;
}

namespace {
QStringList g_connectWarnings;
QtMessageHandler g_previousHandler = nullptr;

void recordConnectWarning(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg
        && (text.startsWith(QLatin1String("QObject::connect"))
            || text.contains(QLatin1String("connectSlotsByName"))))
        g_connectWarnings << text;
    if (g_previousHandler)
        g_previousHandler(type, context, text);
}
} // namespace

void recordConnectWarnings()
{
    if (!g_previousHandler)
        g_previousHandler = qInstallMessageHandler(recordConnectWarning);
}

QStringList takeConnectWarnings()
{
    return std::exchange(g_connectWarnings, {});
}

qint64 peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() / 1024;
    }
    return -1;
}

void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

bool picturesCome(int timeoutMs)
{
    return QTest::qWaitFor([] { return PictureReading::pending() == 0; }, timeoutMs);
}

} // namespace TestSupport
