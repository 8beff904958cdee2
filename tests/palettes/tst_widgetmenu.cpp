#include "palettes/buttonmark.h"
#include "palettes/palettestyle.h"
#include "palettes/widgetmenu.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

class tst_WidgetMenu : public QObject
{
    Q_OBJECT
private slots:
    void baseAddsNoMetaObject();
    void decorationDefaultsDoNothing();
    void markMovesAndGivesSheetsBack();
    void markForceReapplies();
    void markSurvivesDeletedButton();
    void swatchTable();
};

void tst_WidgetMenu::baseAddsNoMetaObject()
{
    WidgetMenu menu;
    QCOMPARE(menu.metaObject(), &QDialog::staticMetaObject);
    QVERIFY(!menu.isVisible());
}

void tst_WidgetMenu::decorationDefaultsDoNothing()
{
    WidgetMenu menu;
    auto *child = new QWidget(&menu);
    child->show();
    menu.setTopLabel();
    menu.setBottonLabel();
    QVERIFY(!child->isHidden());
    QVERIFY(!menu.isVisible());
}

void tst_WidgetMenu::markMovesAndGivesSheetsBack()
{
    QWidget parent;
    auto *first = new QToolButton(&parent);
    auto *second = new QToolButton(&parent);
    first->setStyleSheet("QToolButton{color: red;}");
    second->setStyleSheet("QToolButton{color: green;}");
    ButtonMark<QToolButton> mark("QToolButton");
    QVERIFY(!mark.selected());

    mark.select(first);
    QCOMPARE(first->styleSheet(), PaletteStyle::markSheet("QToolButton"));
    QVERIFY(first->styleSheet().contains("rgba(0, 150, 255, 255)"));
    mark.select(first); // again: the saved sheet must stay the button's own, not the mark
    QCOMPARE(mark.savedSheet(), QString("QToolButton{color: red;}"));

    mark.select(second);
    QCOMPARE(first->styleSheet(), QString("QToolButton{color: red;}"));
    QCOMPARE(mark.selected(), second);

    mark.select(nullptr);
    QCOMPARE(second->styleSheet(), QString("QToolButton{color: green;}"));
    QVERIFY(!mark.selected());
}

void tst_WidgetMenu::markForceReapplies()
{
    QPushButton button;
    button.setStyleSheet("QPushButton{color: blue;}");
    ButtonMark<QPushButton> mark("QPushButton");
    mark.select(&button);
    button.setStyleSheet("changed by someone");
    mark.select(&button);
    QCOMPARE(button.styleSheet(), QString("changed by someone"));
    mark.select(&button, true);
    QCOMPARE(button.styleSheet(), PaletteStyle::markSheet("QPushButton"));
    QCOMPARE(mark.savedSheet(), QString("QPushButton{color: blue;}"));
}

void tst_WidgetMenu::markSurvivesDeletedButton()
{
    ButtonMark<QPushButton> mark("QPushButton");
    auto *button = new QPushButton;
    mark.select(button);
    delete button;
    QVERIFY(!mark.selected());
    mark.select(nullptr); // must not touch the deleted button
    QPushButton other;
    mark.select(&other);
    QCOMPARE(mark.selected(), &other);
}

void tst_WidgetMenu::swatchTable()
{
    QCOMPARE(PaletteStyle::kSwatchCount, 12);
    QWidget parent;
    QWidget *grid = PaletteStyle::makeSwatchGrid(&parent, "grid", "_2", QSize(43, 24), 5);
    const auto buttons = grid->findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 12);
    for (QPushButton *button : buttons) {
        const PaletteStyle::Swatch *swatch = PaletteStyle::swatchNamed(button->objectName());
        QVERIFY2(swatch, qPrintable(button->objectName()));
        QVERIFY(button->objectName().endsWith("_2"));
        QCOMPARE(button->size(), QSize(43, 24));
        QVERIFY(button->text().isEmpty());
    }
    QCOMPARE(PaletteStyle::swatchColour(*PaletteStyle::swatchNamed("forestcolor")),
             QColor(60, 180, 60));
    QVERIFY(!PaletteStyle::swatchNamed("mauvecolor"));
    QVERIFY(!PaletteStyle::isChosen(QColor()));
    QVERIFY(PaletteStyle::isChosen(QColor(0, 0, 0, 0)));
}

QTEST_MAIN(tst_WidgetMenu)
#include "tst_widgetmenu.moc"
