#include "documentfixture.h"

#include "support/testsupport.h"

#include "board/dpage.h"
#include "document/toolrun.h"
#include "document/workfolder.h"

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <sys/fsuid.h>
#include <sys/mount.h>
#include <unistd.h>

namespace DocumentFixture {

namespace {

// Answers that outlive the test's count (the test is over) leave every dialog alone, so an
// answer that was not needed never meets a dialog of the next test.
void answerFrom(const std::shared_ptr<QList<ModalAnswer>> &pending, const std::weak_ptr<int> &count)
{
    if (pending->isEmpty())
        return;
    const ModalAnswer answer = pending->takeFirst();
    TestSupport::answerNextModal([pending, count, answer](QWidget *dialog) {
        const std::shared_ptr<int> answered = count.lock();
        if (!answered)
            return;
        ++*answered;
        // The next answer waits before this one closes its dialog: the command may open the
        // next dialog at once.
        answerFrom(pending, count);
        answer(dialog);
    });
}

QString buttonText(const QAbstractButton *button)
{
    return button ? button->text().remove(QLatin1Char('&')) : QStringLiteral("-");
}

} // namespace

std::shared_ptr<int> answerInTurn(const QList<ModalAnswer> &answers)
{
    auto count = std::make_shared<int>(0);
    answerFrom(std::make_shared<QList<ModalAnswer>>(answers), count);
    return count;
}

QString describeQuestion(const QMessageBox *box)
{
    QList<QAbstractButton *> buttons = box->buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton *a, QAbstractButton *b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    QStringList texts;
    for (const QAbstractButton *button : qAsConst(buttons))
        texts << buttonText(button);
    return QStringList{ box->windowTitle(), box->text(), texts.join(QLatin1Char(',')),
                        buttonText(box->defaultButton()), buttonText(box->escapeButton()) }
            .join(QLatin1Char('|'));
}

ModalAnswer click(const QString &text, QString *seen)
{
    return [text, seen](QWidget *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        if (seen)
            *seen = box ? describeQuestion(box) : QStringLiteral("not a message box");
        if (text == QLatin1String("Escape"))
            TestSupport::pressEscape(dialog);
        else if (!TestSupport::clickButton(dialog, text))
            QMetaObject::invokeMethod(dialog, "reject"); // the test sees the wrong answer
    };
}

ModalAnswer chooseFile(const QString &path, QString *caption, QString *start)
{
    return [path, caption, start](QWidget *dialog) {
        auto *chooser = qobject_cast<QFileDialog *>(dialog);
        if (!chooser) {
            if (caption)
                *caption = QStringLiteral("not a file dialog");
            QMetaObject::invokeMethod(dialog, "reject");
            return;
        }
        if (caption)
            *caption = chooser->windowTitle();
        if (start) {
            const QStringList proposed = chooser->selectedFiles();
            *start = proposed.isEmpty() ? QString() : proposed.first();
        }
        // Typed in full, as a user types a path: selectFile() would drop a folder that does
        // not exist and keep the dialog's own folder in front of the rest.
        TestSupport::typeFileName(chooser, path);
        QMetaObject::invokeMethod(chooser, "accept");
    };
}

ModalAnswer acceptProposed(QString *caption)
{
    return [caption](QWidget *dialog) {
        if (caption)
            *caption = dialog->windowTitle();
        QMetaObject::invokeMethod(dialog, "accept");
    };
}

ModalAnswer escape()
{
    return [](QWidget *dialog) { TestSupport::pressEscape(dialog); };
}

SmallDisk::SmallDisk(const QString &folder, qint64 bytes)
    : m_folder(QFileInfo(folder).absoluteFilePath()),
      m_options(QStringLiteral("size=%1,mode=0755").arg(bytes))
{
    QDir().mkpath(m_folder);
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs",
                        MS_NOSUID | MS_NODEV, m_options.toLatin1().constData())
            == 0;
}

SmallDisk::~SmallDisk()
{
    // Detached: a file some part of the program still holds open does not keep it mounted.
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool SmallDisk::fill()
{
    QFile filler(m_folder + QStringLiteral("/filler"));
    if (!m_mounted || !filler.open(QIODevice::Append))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) { }
    filler.close();
    // Full: not even one more byte can be written.
    QFile probe(m_folder + QStringLiteral("/probe"));
    const bool full =
            probe.open(QIODevice::WriteOnly) && !(probe.write("x", 1) == 1 && probe.flush());
    probe.close();
    probe.remove();
    return full;
}

bool SmallDisk::empty()
{
    return QFile::remove(m_folder + QStringLiteral("/filler"));
}

bool SmallDisk::setReadOnly(bool readOnly)
{
    const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    return m_mounted
            && ::mount("tmpfs", QFile::encodeName(m_folder).constData(), "tmpfs", flags,
                       m_options.toLatin1().constData())
            == 0;
}

WithoutPermission::WithoutPermission()
{
    constexpr uid_t kNobody = 65534;
    // setfsuid answers the user before the call; only a thread that may change it (root) does.
    if (::geteuid() == 0) {
        ::setfsgid(kNobody);
        ::setfsuid(kNobody);
        m_active = ::setfsuid(kNobody) == int(kNobody);
    }
}

WithoutPermission::~WithoutPermission()
{
    if (m_active) {
        ::setfsuid(0);
        ::setfsgid(0);
    }
}

std::unique_ptr<QTemporaryDir> earlierRun()
{
    auto folder = std::make_unique<QTemporaryDir>(WorkFolder::pathTemplate());
    WorkFolder::markAutosaved(folder->path());
    return folder;
}

bool makeBigLesson(const QString &archive, int pages, QList<int> *objects)
{
    const QString picture = archive + QStringLiteral(".png");
    QImage photo(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x)
            photo.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    }
    if (!photo.save(picture))
        return false;
    QWidget holder;
    holder.setFixedSize(1280, 800);
    DPagesList maker(&holder);
    for (int n = 0; n < pages; ++n) {
        if (n > 0)
            maker.newPage(BtMenus::btColorPage, false);
        maker.insertPixmap(picture);
        if (!TestSupport::picturesCome())
            return false;
        for (int stroke = 0; stroke < 40; ++stroke) {
            QPainterPath path(QPointF(0, 0));
            for (int point = 1; point < 60; ++point)
                path.lineTo(point * 4.0, (point * 7 + stroke * 3) % 90);
            maker.getCurPage()->addCurveItem(path, QPen(Qt::blue, 3), 0, BtMenus::btPencil,
                                             BtMenus::fnPathAtPos, QPointF(40, 20 + stroke * 12),
                                             1.0f, QTransform(), true);
        }
        if (objects)
            *objects << maker.getCurPage()->validItems(true).size();
    }
    const bool saved = maker.saveAllPagesToArchive(archive, true);
    maker.exit();
    return saved;
}

QStringList archiveEntries(const QString &archive)
{
    const ToolRun listed =
            runTool(QStringLiteral("unzip"), { QStringLiteral("-Z1"), archive }, QString(), 30000);
    if (!listed.ok)
        return {};
    return QString::fromUtf8(listed.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        files << it.filePath().mid(folder.size() + 1) + QLatin1Char(' ')
                        + QString::number(it.fileInfo().size());
    }
    files.sort();
    return files;
}

QStringList settledEntries(const QString &folder)
{
    static const QRegularExpression scratch(QStringLiteral("^\\..+-[A-Za-z0-9]{6}(\\.lock)?$"));
    const auto entries = [&folder] {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    // What is still there after the wait is the caller's to see.
    (void)QTest::qWaitFor([&] { return entries().filter(scratch).isEmpty(); }, 20000);
    return entries();
}

void addFuzzingRows(const QString &fuzzFolder, const QString &target)
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("seed");
    for (const QString &kind : { QStringLiteral("corpus"), QStringLiteral("regressions") }) {
        const QDir dir(fuzzFolder + QLatin1Char('/') + kind + QLatin1Char('/') + target);
        for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(kind + QLatin1Char('/') + name))
                    << dir.filePath(name) << (kind == QLatin1String("corpus"));
    }
}

bool waitForPictures(DPagesList &list)
{
    QDeadlineTimer deadline(180000);
    while (!list.arePicturesMeasured() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return list.arePicturesMeasured();
}

} // namespace DocumentFixture
