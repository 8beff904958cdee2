#include "pdfimport.h"

#include "document/toolrun.h"
#include "document/workprogress.h"
#include "pictures/heldpictures.h"
#include "pictures/picturereading.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr int kPageDpi = 150; // pdftoppm's own
constexpr char kPageRoot[] = "page";
// How often the event loop turns while a program runs.
constexpr int kTurnEveryMs = 25;
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

PdfImport::Page PdfImport::make(int page)
{
    Page made;
    const QSizeF points = m_sizes.at(page - 1);
    const int dpi = pageDpi(points);
    if (dpi == 0) {
        PictureReading::Probe notMade;
        notMade.outcome = PictureReading::Outcome::TooLarge;
        notMade.size = pagePixels(points, kPageDpi);
        made.sentence = PictureReading::message(notMade, pageName(page));
        m_details << QStringLiteral("page %1: too large at any resolution").arg(page);
        return made;
    }
    // Its own format, the pixels as they are: a page of text took ten times as long to make as
    // a compressed PNG, which was then decompressed at once.
    const QString root = QDir(m_folder).filePath(QLatin1String(kPageRoot));
    const QString output = root + QStringLiteral(".ppm");
    const ToolRun run =
            runWithin(QStringLiteral("pdftoppm"),
                      { QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                        QString::number(page), QStringLiteral("-l"), QString::number(page),
                        QStringLiteral("-singlefile"), m_file, root },
                      &made.outOfTime);
    if (!run.ok) {
        QFile::remove(output); // what a stopped or failed run left half written
        m_details << QStringLiteral("page %1: %2").arg(page).arg(run.error);
        if (run.exitCode >= 0) {
            const QString said = lastSaid(run.errorOutput);
            made.sentence = said.isEmpty()
                    ? tr("Página %1: el programa de conversión no ha podido convertirla.").arg(page)
                    : tr("Página %1: el programa de conversión no ha podido convertirla "
                         "(«%2»).")
                              .arg(QString::number(page), said);
        } else if (made.outOfTime) {
            made.sentence = tr("Página %1: convertirla ha tardado más de %2 segundos y se ha "
                               "dejado.")
                                    .arg(page)
                                    .arg(seconds());
        } else {
            made.sentence =
                    tr("Página %1: el programa de conversión se ha detenido por un fallo al "
                       "convertirla.")
                            .arg(page);
        }
        return made;
    }
    if (!QFileInfo(output).isFile()) {
        m_details << QStringLiteral("page %1: pdftoppm wrote no picture").arg(page);
        made.sentence =
                tr("Página %1: el programa de conversión no ha dado ninguna imagen.").arg(page);
        return made;
    }
    // Measured as any picture from outside is, within the board's limits, apart from the
    // board, which paints itself meanwhile; kept as its file, it is decoded when shown.
    made.probe = PictureReading::probe(output, m_turn);
    made.sentence = PictureReading::message(made.probe, pageName(page));
    if (!made.sentence.isEmpty())
        m_details << QStringLiteral("page %1: %2").arg(page).arg(made.probe.detail);
    if (made.probe.isTaken())
        made.file = HeldPictures::moveIn(output);
    QFile::remove(output);
    return made;
}

void PdfImport::run(Held held, const std::function<void(const Placed &)> &place,
                    WorkProgress &progress)
{
    int outOfTimeInARow = 0;
    for (int page = 1; page <= count(); ++page) {
        if (held.objects >= m_limits.lessonObjects) {
            stopAt(page,
                   tr("la lección tendría más objetos de los que admite la pizarra (%1).")
                           .arg(m_limits.lessonObjects));
            return;
        }
        // Each page is held as its file, decoded only while shown: however many come, the
        // lesson holds no more of them in memory than a teacher sees.
        Page made = make(page);
        if (!made.file.isEmpty()) {
            ++held.objects;
            place({ made.file, made.probe, pageName(page) });
            ++m_imported;
        }
        if (!made.sentence.isEmpty())
            m_pageSentences << made.sentence;
        outOfTimeInARow = made.outOfTime ? outOfTimeInARow + 1 : 0;
        progress.step(page);
        m_turn();
        if (outOfTimeInARow == kMaxOutOfTimeInARow && page < count()) {
            stopAt(page + 1,
                   tr("las %1 páginas anteriores tardaron cada una más de %2 segundos en "
                      "convertirse.")
                           .arg(kMaxOutOfTimeInARow)
                           .arg(seconds()));
            return;
        }
    }
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
