#include "shell/mainform.h"

#include "board/dview.h"
#include "content/dresources.h"
#include "content/drichtexteditor.h"
#include "content/dtabledlg.h"
#include "content/player.h"
#include "document/dpageslist.h"
#include "palettes/widgetclassicselector.h"
#include "palettes/widgeteraserselector.h"
#include "palettes/widgetmenuselector.h"
#include "palettes/widgetmmiselector.h"
#include "palettes/widgetpageselector.h"
#include "palettes/widgetpenselector.h"
#include "palettes/widgetshapeselector.h"
#include "palettes/widgettoolselector.h"
#include "shell/dmainui.h"
#include "shell/dsetting.h"
#include "shell/dshortui.h"
#include "shell/globals.h"
#include "shell/languages.h"
#include "tools/dcalculator.h"
#include "tools/dclock.h"
#include "tools/dcoverscreen.h"
#include "tools/ddices.h"
#include "tools/dmagnifier.h"
#include "tools/dsearchlight.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QTranslator>
#include <QtMath>
#include <QtTest>

#include <memory>

// Every form, palette and dialog of the program, built in each interface language: the text
// of every button, label and combo box entry fits inside its widget, and no such widget is
// cut off by the form around it. Measured with the widget's own font metrics.
class tst_TextFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyTextFits_data();
    void everyTextFits();
    void pageCounterFitsFromTenPages();

private:
    // What is wrong with the texts of top and everything shown inside it, one line each.
    static QStringList misfits(QWidget *top, const QString &where);
    static QStringList checkShown(QWidget *widget, const QString &where);
};

namespace {

QString shown(const QString &text)
{
    QString plain = text;
    plain.replace(QLatin1String("&&"), QLatin1String("\x01"));
    plain.remove(QLatin1Char('&'));
    plain.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return plain;
}

QSize needed(const QWidget *widget, const QString &text)
{
    const QFontMetrics metrics = widget->fontMetrics();
    int width = 0;
    const QStringList lines = shown(text).split(QLatin1Char('\n'));
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    // The ink of one line (a single large letter need not have the room of a whole line).
    const int height = lines.size() == 1 ? metrics.tightBoundingRect(lines.first()).height()
                                         : metrics.height() * lines.size();
    return QSize(width, height);
}

// The room a text has and the room it needs, or an empty pair for a widget without text.
QPair<QSize, QSize> roomAndNeed(const QWidget *widget)
{
    if (const auto *button = qobject_cast<const QToolButton *>(widget)) {
        const bool icon = !button->icon().isNull();
        if (button->text().isEmpty()
            || (icon && button->toolButtonStyle() == Qt::ToolButtonIconOnly))
            return {};
        QSize need = needed(widget, button->text());
        if (icon && button->toolButtonStyle() == Qt::ToolButtonTextUnderIcon)
            need.rheight() += button->iconSize().height();
        if (icon && button->toolButtonStyle() == Qt::ToolButtonTextBesideIcon)
            need.rwidth() += button->iconSize().width();
        return { button->size(), need };
    }
    if (const auto *button = qobject_cast<const QPushButton *>(widget)) {
        if (button->text().isEmpty())
            return {};
        QSize need = needed(widget, button->text());
        if (!button->icon().isNull())
            need.rwidth() += button->iconSize().width();
        return { button->size() - QSize(4, 0), need }; // at least the frame on either side
    }
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty() || Qt::mightBeRichText(label->text()))
            return {};
        if (label->wordWrap())
            return { label->size(), QSize(0, label->heightForWidth(label->width())) };
        return { label->contentsRect().size(), needed(widget, label->text()) };
    }
    if (const auto *edit = qobject_cast<const QTextEdit *>(widget)) {
        // A read-out on one line (the page palette's zoom): the text as the box lays it out.
        if (edit->toPlainText().isEmpty() || edit->lineWrapMode() != QTextEdit::NoWrap)
            return {};
        return { edit->viewport()->size(), QSize(qCeil(edit->document()->idealWidth()), 0) };
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        int width = 0;
        for (int i = 0; i < combo->count(); ++i)
            width = qMax(width, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
        if (width == 0)
            return {};
        // The drop-down arrow takes some 16 pixels beside the entry.
        return { combo->size() - QSize(16, 0), QSize(width, combo->fontMetrics().height()) };
    }
    return {};
}

} // namespace

void tst_TextFit::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
}

QStringList tst_TextFit::checkShown(QWidget *widget, const QString &where)
{
    QStringList problems;
    const QPair<QSize, QSize> sizes = roomAndNeed(widget);
    if (!sizes.second.isValid() || sizes.second.isNull())
        return problems;
    const QString name = where + QLatin1Char('/') + widget->objectName() + QLatin1String(" \"")
            + shown(qobject_cast<QAbstractButton *>(widget)
                            ? static_cast<QAbstractButton *>(widget)->text()
                            : qobject_cast<QLabel *>(widget) ? static_cast<QLabel *>(widget)->text()
                                                             : QStringLiteral("(entries)"))
            + QLatin1Char('"');
    if (sizes.second.width() > sizes.first.width()
        || sizes.second.height() > sizes.first.height() + 1)
        problems << QStringLiteral("%1 needs %2x%3 in %4x%5 (font %6 pt)")
                            .arg(name)
                            .arg(sizes.second.width())
                            .arg(sizes.second.height())
                            .arg(sizes.first.width())
                            .arg(sizes.first.height())
                            .arg(widget->font().pointSizeF());
    // Inside every form around it, up to the window or palette: not cut off at an edge.
    QRect area = widget->rect();
    for (QWidget *inner = widget; inner->parentWidget() && !inner->isWindow();
         inner = inner->parentWidget()) {
        area = area.translated(inner->pos());
        const QRect parentArea = inner->parentWidget()->rect();
        if (!parentArea.adjusted(-1, -1, 1, 1).contains(area)) {
            problems << QStringLiteral("%1 is cut off by %2")
                                .arg(name, inner->parentWidget()->objectName());
            break;
        }
        if (inner->parentWidget()->isWindow())
            break;
    }
    return problems;
}

QStringList tst_TextFit::misfits(QWidget *top, const QString &where)
{
    QStringList problems;
    QList<QWidget *> widgets{ top };
    widgets += top->findChildren<QWidget *>();
    for (QWidget *widget : qAsConst(widgets)) {
        if (widget != top && (widget->isWindow() || !widget->isVisibleTo(top)))
            continue;
        problems += checkShown(widget, where);
    }
    return problems;
}

void tst_TextFit::everyTextFits_data()
{
    QTest::addColumn<int>("language");
    QTest::newRow("Spanish") << int(BtMenus::lngSpanish);
    QTest::newRow("English") << int(BtMenus::lngEnglish);
    QTest::newRow("Russian") << int(BtMenus::lngRussian);
    QTest::newRow("Portuguese") << int(BtMenus::lngPortuguese);
    QTest::newRow("French") << int(BtMenus::lngFrench);
    QTest::newRow("German") << int(BtMenus::lngGerman);
}

void tst_TextFit::everyTextFits()
{
    QFETCH(int, language);
    settings.setValue("System/Language", language);
    QStringList problems;
    {
        MainForm window;
        DMainUi *toolbar = window.mainUi();
        const QList<QWidget *> palettes{
            toolbar->penSelector(),  toolbar->shapeSelector(),   toolbar->eraserSelector(),
            toolbar->menuSelector(), toolbar->mmiSelector(),     toolbar->toolSelector(),
            toolbar->pageSelector(), toolbar->classicSelector(),
        };
        for (const BtMenus::eInterfaceMode mode :
             { BtMenus::imStandard, BtMenus::imKids, BtMenus::imClassic, BtMenus::imMultiUser }) {
            emit toolbar->menuSelector()->changeInterface(mode);
            toolbar->show();
            problems += misfits(toolbar, QStringLiteral("toolbar %1").arg(int(mode)));
        }
        for (QWidget *palette : palettes) {
            palette->show();
            problems += misfits(palette, palette->metaObject()->className());
            palette->hide();
        }
        window.shortUi()->show();
        problems += misfits(window.shortUi(), QStringLiteral("DShortUi"));
        window.shortUi()->hide();
        auto *preferences = window.findChild<DSetting *>();
        QVERIFY(preferences);
        preferences->show();
        problems += misfits(preferences, QStringLiteral("DSetting"));
        preferences->hide();
        window.resources()->show();
        problems += misfits(window.resources(), QStringLiteral("DResources"));
        DTableDlg *table = window.pagesList()->getView()->m_tableDlg;
        table->show();
        problems += misfits(table, QStringLiteral("DTableDlg"));
        table->hide();
        // The classroom tools the board opens over itself.
        DCoverScreen curtain(&window);
        DSearchlight spotlight(&window);
        DMagnifier magnifier(&window);
        for (QWidget *tool : { static_cast<QWidget *>(&curtain), static_cast<QWidget *>(&spotlight),
                               static_cast<QWidget *>(&magnifier) }) {
            tool->show();
            problems += misfits(tool, tool->metaObject()->className());
            tool->hide();
        }
    }
    const auto standalone = [&problems](QWidget *dialog, const QString &name) {
        dialog->show();
        problems += misfits(dialog, name);
        dialog->close();
    };
    {
        DRichTextEditor editor;
        standalone(&editor, QStringLiteral("DRichTextEditor"));
        DCalculator calculator(nullptr);
        standalone(&calculator, QStringLiteral("DCalculator"));
        DClock clock(nullptr);
        standalone(&clock, QStringLiteral("DClock"));
        DDiceS dice;
        standalone(&dice, QStringLiteral("DDiceS"));
    }
    auto *player = new Player(QString(), nullptr);
    standalone(player, QStringLiteral("Player"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    settings.setValue("System/Language", 0);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

void tst_TextFit::pageCounterFitsFromTenPages()
{
    settings.setValue("System/Language", 0);
    MainForm window;
    const QFont full =
            window.mainUi()->findChild<QToolButton *>(QStringLiteral("baExpandPageBotton"))->font();
    for (int i = 1; i < 12; ++i)
        window.uiMainBt(BtMenus::btColorPage); // as the page palette adds them
    QStringList problems;
    for (const BtMenus::eInterfaceMode mode :
         { BtMenus::imStandard, BtMenus::imKids, BtMenus::imClassic }) {
        emit window.mainUi()->menuSelector()->changeInterface(mode);
        problems += misfits(window.mainUi(), QStringLiteral("toolbar %1").arg(int(mode)));
    }
    auto *counter = window.mainUi()->findChild<QToolButton *>(QStringLiteral("baExpandPageBotton"));
    QCOMPARE(counter->text(), QStringLiteral("12 / 12"));
    // The kids counter is a circle of radius 22 with an 18 pixel icon over the text: across the
    // text's middle it is 2 * sqrt(22² - 9²) = 40 pixels wide, 36 inside its border.
    auto *round = window.mainUi()->findChild<QToolButton *>(QStringLiteral("baExpandPageBottonI"));
    QCOMPARE(round->text(), QStringLiteral("12 / 12"));
    QVERIFY(round->fontMetrics().horizontalAdvance(round->text()) <= 36);
    QVERIFY(round->font().pointSizeF() >= 6);
    // Back to fewer pages, the counter takes its full font again.
    window.mainUi()->setNumPage(QStringLiteral("1 / 1"));
    QCOMPARE(counter->font(), full);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_TextFit)
#include "tst_textfit.moc"
