#include "pdfimport.h"

#include "document/toolrun.h"
#include "document/workprogress.h"
#include "pictures/heldpictures.h"
#include "pictures/picturereading.h"
#include "shell/cores.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace {

constexpr int kPageDpi = 150; // pdftoppm's own
constexpr char kPageRoot[] = "page";
// How often the event loop turns while a program runs.
constexpr int kTurnEveryMs = 25;
// How often the converters' page files are looked for while none comes.
constexpr int kLookEveryMs = 10;
// Of what the converter said about a page, as much as a message box can show on one line.
constexpr int kMaxSaidCharacters = 160;

// A page's pixels at the converter's resolution (points are 1/72 inch), as it rounds them.
QSize pagePixels(const QSizeF &points, int dpi)
{
    return QSize(int(std::ceil(points.width() * dpi / 72.0)),
                 int(std::ceil(points.height() * dpi / 72.0)));
}

// The resolution a page is made at: the converter's own, or less for a page that would be
// beyond the board's limits there (a poster of 200 inches would be 30000 pixels a side); 0 for
// a page beyond them even at one dot an inch, which is not made at all.
int pageDpi(const QSizeF &points)
{
    int dpi = kPageDpi;
    const QSize pixels = pagePixels(points, dpi);
    if (!PictureReading::fits(pixels))
        dpi = std::max(1,
                       int(dpi * double(PictureReading::fitted(pixels).width()) / pixels.width()));
    while (dpi > 0 && !PictureReading::fits(pagePixels(points, dpi) + QSize(1, 1)))
        --dpi;
    return dpi;
}

// The media box of every page, in points, from what pdfinfo printed.
QList<QSizeF> pageSizes(const QByteArray &listing)
{
    const QRegularExpression box(QStringLiteral(
            "^Page\\s+(\\d+) MediaBox:\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)\\s*$"));
    QList<QSizeF> sizes;
    for (const QString &line : QString::fromLocal8Bit(listing).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = box.match(line);
        if (!match.hasMatch() || match.captured(1).toInt() != sizes.size() + 1)
            continue;
        // A box of no size, or of none a number can say, is taken for a point.
        auto side = [](double from, double to) {
            const double length = std::fabs(to - from);
            return std::isfinite(length) && length >= 1 ? std::min(length, 1e9) : 1.0;
        };
        sizes << QSizeF(side(match.captured(2).toDouble(), match.captured(4).toDouble()),
                        side(match.captured(3).toDouble(), match.captured(5).toDouble()));
    }
    return sizes;
}

// The last thing a program said on its error output, short enough for a message.
QString lastSaid(const QByteArray &errorOutput)
{
    const QStringList lines =
            QString::fromLocal8Bit(errorOutput).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString last = lines.isEmpty() ? QString() : lines.last().trimmed();
    return last.size() > kMaxSaidCharacters ? last.left(kMaxSaidCharacters) + QChar(0x2026) : last;
}

} // namespace

PdfImport::PdfImport(const QString &file, const QString &folder, const Limits &limits,
                     std::function<void()> turn)
    : m_file(file),
      m_document(QFileInfo(file).fileName()),
      m_folder(folder),
      m_limits(limits),
      m_turn(std::move(turn))
{
}

bool PdfImport::open()
{
    const auto fail = [this](const QString &reason, const QString &detail) {
        m_failure = tr("No se ha podido importar «%1»: %2").arg(m_document, reason);
        m_details << detail;
        return false;
    };
    if (m_folder.isEmpty())
        return fail(tr("no se puede crear una carpeta temporal donde convertir sus páginas."),
                    QStringLiteral("no temporary folder"));
    for (const QString &program : { QStringLiteral("pdfinfo"), QStringLiteral("pdftoppm") }) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return fail(tr("falta el programa «%1», con el que se leen sus páginas (paquete "
                           "poppler-utils).")
                                .arg(program),
                        program + QStringLiteral(": not found"));
    }
    bool outOfTime = false;
    const ToolRun run =
            runWithin(QStringLiteral("pdfinfo"),
                      { QStringLiteral("-box"), QStringLiteral("-f"), QStringLiteral("1"),
                        QStringLiteral("-l"), QString::number(INT_MAX), m_file },
                      &outOfTime);
    if (outOfTime)
        return fail(
                tr("leer la lista de sus páginas ha tardado más de %1 segundos.").arg(seconds()),
                run.error);
    m_sizes = run.ok ? pageSizes(run.output) : QList<QSizeF>();
    if (m_sizes.isEmpty())
        return fail(tr("no se puede leer como documento PDF: está dañado, protegido con "
                       "contraseña o no es un PDF."),
                    run.ok ? QStringLiteral("pdfinfo: no page sizes") : run.error);
    return true;
}

ToolRun PdfImport::runWithin(const QString &program, const QStringList &arguments, bool *outOfTime)
{
    QElapsedTimer clock;
    clock.start();
    const ToolRun run =
            runToolWatched(program, arguments, m_folder, m_limits.pageTimeoutMs,
                           QProcessEnvironment::systemEnvironment(), kTurnEveryMs, [this] {
                               m_turn();
                               return true;
                           });
    // Neither started nor ended by itself: stopped at the deadline.
    *outOfTime = !run.ok && run.exitCode < 0 && clock.elapsed() >= m_limits.pageTimeoutMs;
    return run;
}

QString PdfImport::pageName(int page) const
{
    return tr("%1, página %2").arg(m_document, QString::number(page));
}

QString PdfImport::pageFile(int page) const
{
    // As the converter names them: the page's number with as many digits as the last one's.
    const int digits = int(QString::number(count()).size());
    return QDir(m_folder).filePath(QStringLiteral("%1-%2.ppm")
                                           .arg(QLatin1String(kPageRoot))
                                           .arg(page, digits, 10, QLatin1Char('0')));
}

// A run of the converter over pages first to last, all at one resolution, in a process of its
// own beside the board.
struct PdfImport::Converting
{
    int first;
    int last;
    int dpi;
    int next; // the first of its pages not yet taken
    std::unique_ptr<RunningTool> tool;
    QElapsedTimer since; // its start, or its last page taken
};

namespace {

// Whether file holds a whole picture as the converter writes it (PPM: a header, then three
// bytes a pixel): one still being written is shorter.
bool isWholePpm(const QString &file)
{
    QFile ppm(file);
    if (!ppm.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = ppm.read(64);
    static const QRegularExpression header(
            QStringLiteral("^P6\\s+(\\d+)\\s+(\\d+)\\s+255\\s"));
    const QRegularExpressionMatch match = header.match(QString::fromLatin1(head));
    if (!match.hasMatch())
        return false;
    const qint64 pixels = match.captured(1).toLongLong() * match.captured(2).toLongLong();
    return ppm.size() == match.capturedLength(0) + pixels * 3;
}

} // namespace

PdfImport::Page PdfImport::failed(int page, const ToolRun &run, bool outOfTime)
{
    Page made;
    made.done = true;
    made.outOfTime = outOfTime;
    m_details << QStringLiteral("page %1: %2").arg(page).arg(run.error);
    if (run.exitCode >= 0) {
        const QString said = lastSaid(run.errorOutput);
        made.sentence = said.isEmpty()
                ? tr("Página %1: el programa de conversión no ha podido convertirla.").arg(page)
                : tr("Página %1: el programa de conversión no ha podido convertirla "
                     "(«%2»).")
                          .arg(QString::number(page), said);
    } else if (outOfTime) {
        made.sentence = tr("Página %1: convertirla ha tardado más de %2 segundos y se ha "
                           "dejado.")
                                .arg(page)
                                .arg(seconds());
    } else {
        made.sentence = tr("Página %1: el programa de conversión se ha detenido por un fallo al "
                           "convertirla.")
                                .arg(page);
    }
    return made;
}

bool PdfImport::follow(Converting &run, std::vector<Page> &pages, std::vector<Converting> &waiting)
{
    const bool ended = run.tool->poll();
    const bool endedWell = ended && run.tool->result().ok;
    // A page's file is whole once it has its length, or once the converter has gone on to the
    // next page or ended well (it writes a page after making the whole of it).
    while (run.next <= run.last) {
        const QString file = pageFile(run.next);
        const bool whole = isWholePpm(file)
                || (QFileInfo::exists(file)
                    && (endedWell
                        || (run.next < run.last && QFileInfo::exists(pageFile(run.next + 1)))));
        if (!whole)
            break;
        pages[size_t(run.next)].made = file;
        pages[size_t(run.next)].done = true;
        ++run.next;
        run.since.restart();
    }
    // Its pages all taken, it is left to end by itself, as long as a page may take.
    if (run.next > run.last) {
        if (!ended && run.since.elapsed() < m_limits.pageTimeoutMs)
            return false;
        run.tool->stop();
        return true;
    }
    if (endedWell) {
        for (int page = run.next; page <= run.last; ++page) {
            m_details << QStringLiteral("page %1: pdftoppm wrote no picture").arg(page);
            Page &made = pages[size_t(page)];
            made.done = true;
            made.sentence =
                    tr("Página %1: el programa de conversión no ha dado ninguna imagen.").arg(page);
        }
        return true;
    }
    const bool outOfTime = !ended && run.since.elapsed() >= m_limits.pageTimeoutMs;
    if (!ended && !outOfTime)
        return false;
    // The page it was making costs that page alone: the rest of its pages go to a run of their
    // own.
    run.tool->stop();
    QFile::remove(pageFile(run.next)); // what a stopped or failed run left half written
    pages[size_t(run.next)] = failed(run.next, run.tool->result(), outOfTime);
    if (run.next < run.last) {
        Converting rest{ run.next + 1, run.last, run.dpi, run.next + 1, nullptr, {} };
        const auto at =
                std::find_if(waiting.begin(), waiting.end(),
                             [&rest](const Converting &each) { return each.first > rest.first; });
        waiting.insert(at, std::move(rest));
    }
    return true;
}

void PdfImport::start(Converting &run)
{
    run.tool = std::make_unique<RunningTool>(
            QStringLiteral("pdftoppm"),
            QStringList{ QStringLiteral("-r"), QString::number(run.dpi), QStringLiteral("-f"),
                         QString::number(run.first), QStringLiteral("-l"),
                         QString::number(run.last), m_file, QLatin1String(kPageRoot) },
            m_folder);
    run.since.start();
}

void PdfImport::run(Held held, const std::function<void(const Placed &)> &place,
                    WorkProgress &progress)
{
    std::vector<Page> pages(size_t(count()) + 1);
    // The pages go to as many converter runs at once as there are processors to run on (more
    // would only crowd the board's own thread off them), each run a range of pages at one
    // resolution. The ranges are a few times as many as the runs: a run done early takes the
    // next, and the first pages come in while the last are still to start.
    const int runs = Cores::usable();
    const int rangePages = std::max(1, (count() + runs * 4 - 1) / (runs * 4));
    std::vector<Converting> waiting;
    for (int page = 1; page <= count(); ++page) {
        const int dpi = pageDpi(m_sizes.at(page - 1));
        if (dpi == 0) {
            Page &made = pages[size_t(page)];
            made.done = true;
            PictureReading::Probe notMade;
            notMade.outcome = PictureReading::Outcome::TooLarge;
            notMade.size = pagePixels(m_sizes.at(page - 1), kPageDpi);
            made.sentence = PictureReading::message(notMade, pageName(page));
            m_details << QStringLiteral("page %1: too large at any resolution").arg(page);
            continue;
        }
        if (!waiting.empty() && waiting.back().last == page - 1 && waiting.back().dpi == dpi
            && waiting.back().last - waiting.back().first + 1 < rangePages)
            waiting.back().last = page;
        else
            waiting.push_back({ page, page, dpi, page, nullptr, {} });
    }
    std::vector<Converting> converting;
    // Whatever is left when the import ends, by itself or not: the runs stopped, their files
    // gone, so nothing half made stays behind.
    const auto stopAll = [&] {
        converting.clear();
        for (size_t page = 1; page < pages.size(); ++page)
            QFile::remove(pageFile(int(page)));
    };
    int outOfTimeInARow = 0;
    int next = 1; // the next page to come in: they come in order
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    while (next <= count()) {
        while (int(converting.size()) < runs && !waiting.empty()) {
            converting.push_back(std::move(waiting.front()));
            waiting.erase(waiting.begin());
            start(converting.back());
        }
        for (auto run = converting.begin(); run != converting.end();) {
            if (follow(*run, pages, waiting))
                run = converting.erase(run);
            else
                ++run;
        }
        bool cameIn = false;
        while (next <= count() && pages[size_t(next)].done && !progress.wasCancelled()) {
            if (held.objects >= m_limits.lessonObjects) {
                stopAt(next,
                       tr("la lección tendría más objetos de los que admite la pizarra (%1).")
                               .arg(m_limits.lessonObjects));
                stopAll();
                return;
            }
            Page &made = pages[size_t(next)];
            if (!made.made.isEmpty())
                take(next, made);
            // Measured while the board turned: a Cancel pressed meanwhile leaves the page out
            // whole.
            if (progress.wasCancelled())
                break;
            if (!made.file.isEmpty()) {
                ++held.objects;
                place({ made.file, made.probe, pageName(next) });
                ++m_imported;
            }
            if (!made.sentence.isEmpty())
                m_pageSentences << made.sentence;
            outOfTimeInARow = made.outOfTime ? outOfTimeInARow + 1 : 0;
            progress.step(next);
            cameIn = true;
            // Pages made ahead come in one after another: the board still turns between them.
            if (sinceTurn.elapsed() >= kTurnEveryMs) {
                m_turn();
                sinceTurn.restart();
            }
            if (outOfTimeInARow == kMaxOutOfTimeInARow && next < count()) {
                stopAt(next + 1,
                       tr("las %1 páginas anteriores tardaron cada una más de %2 segundos en "
                          "convertirse.")
                               .arg(kMaxOutOfTimeInARow)
                               .arg(seconds()));
                stopAll();
                return;
            }
            ++next;
        }
        if (progress.wasCancelled()) {
            // What is in stays, each page whole; the rest is not made.
            for (size_t page = size_t(next); page < pages.size(); ++page) {
                if (!pages[page].file.isEmpty())
                    QFile::remove(pages[page].file);
            }
            m_cancelled = true;
            stopAll();
            return;
        }
        m_turn();
        sinceTurn.restart();
        if (!cameIn)
            QThread::msleep(kLookEveryMs);
    }
    stopAll();
}

void PdfImport::take(int page, Page &made)
{
    // Measured as any picture from outside is, within the board's limits, apart from the
    // board, which paints itself meanwhile; kept as its file, it is decoded when shown.
    made.probe = PictureReading::probe(made.made, m_turn);
    const QString sentence = PictureReading::message(made.probe, pageName(page));
    if (!sentence.isEmpty()) {
        made.sentence = sentence;
        m_details << QStringLiteral("page %1: %2").arg(page).arg(made.probe.detail);
    }
    if (made.probe.isTaken())
        made.file = HeldPictures::moveIn(made.made);
    QFile::remove(made.made);
    made.made.clear();
}

void PdfImport::stopAt(int first, const QString &reason)
{
    m_details << QStringLiteral("pages %1 to %2 not tried").arg(first).arg(count());
    m_stopSentence = first == count()
            ? tr("La página %1 no se ha importado: %2").arg(QString::number(first), reason)
            : tr("Las páginas %1 a %2 no se han importado: %3")
                      .arg(QString::number(first), QString::number(count()), reason);
}

QString PdfImport::message() const
{
    if (!m_failure.isEmpty())
        return m_failure;
    if (m_pageSentences.isEmpty() && m_stopSentence.isEmpty())
        return QString();
    QStringList lines{ tr("Se han importado %1 de las %2 páginas de «%3».")
                               .arg(QString::number(m_imported), QString::number(count()),
                                    m_document) };
    lines << m_pageSentences.mid(0, kMaxPageSentences);
    if (m_pageSentences.size() > kMaxPageSentences)
        lines << tr("Avisos sobre otras páginas que no se muestran aquí: %1.")
                         .arg(m_pageSentences.size() - kMaxPageSentences);
    if (!m_stopSentence.isEmpty())
        lines << m_stopSentence;
    return lines.join(QLatin1Char('\n'));
}
